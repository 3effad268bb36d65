// The consent's words in every language the DLL knows, one row a language.
//
// To add a language, add a row:
// - names: its BCP 47 tags in lower case, then the base name of Inno Setup's
//   language file in lower case, blank-separated; a tag with an unknown
//   region falls back to the row whose names hold its language alone;
// - its Windows language id (a language id that is in no row falls back to
//   the first row of the same primary language);
// - the character set that lets the font mapper find its glyphs;
// - 1 if the script reads from right to left;
// - the face of the caption fonts where Arial has no letters of the script
//   (nullptr: Arial);
// - the Yes and No captions: the words the system's own message boxes use
//   for Yes and No (without keyboard hints such as "(Y)"), a tab, and in
//   brackets what the button does; the Yes caption must fit its button at
//   WIDTH 440, which the tests check;
// - the corner caption that marks the offer as an advertisement.
// Texts are UTF-8.
#include "dialog/ConsentLanguage.h"

const ConsentWords CONSENT_WORDS[] = {
    {"en english", 0x0409, ANSI_CHARSET, 0, nullptr,
     "Yes\t(Accept and Install)", "No\t(Cancel)", "Advertisement"},
    {"hy armenian", 0x042B, DEFAULT_CHARSET, 0, "Sylfaen",
     "Այո\t(Ընդունել, տեղադրել)", "Ոչ\t(Չեղարկել)", "Գովազդ"},
    {"pt-br brazilianportuguese", 0x0416, ANSI_CHARSET, 0, nullptr,
     "Sim\t(Aceitar e instalar)", "Não\t(Cancelar)", "Publicidade"},
    {"bg bulgarian", 0x0402, RUSSIAN_CHARSET, 0, nullptr,
     "Да\t(Приеми, инсталирай)", "Не\t(Отказ)", "Реклама"},
    {"ca catalan", 0x0403, ANSI_CHARSET, 0, nullptr,
     "Sí\t(Accepta i instal·la)", "No\t(Cancel·la)", "Publicitat"},
    {"co corsican", 0x0483, ANSI_CHARSET, 0, nullptr,
     "Sì\t(Accettà è installà)", "Nò\t(Abbandunà)", "Publicità"},
    {"cs czech", 0x0405, EASTEUROPE_CHARSET, 0, nullptr,
     "Ano\t(Přijmout a instalovat)", "Ne\t(Zrušit)", "Reklama"},
    {"da danish", 0x0406, ANSI_CHARSET, 0, nullptr,
     "Ja\t(Accepter og installer)", "Nej\t(Annuller)", "Reklame"},
    {"nl dutch", 0x0413, ANSI_CHARSET, 0, nullptr,
     "Ja\t(Akkoord en installeren)", "Nee\t(Annuleren)", "Advertentie"},
    {"fi finnish", 0x040B, ANSI_CHARSET, 0, nullptr,
     "Kyllä\t(Hyväksy, asenna)", "Ei\t(Peruuta)", "Mainos"},
    {"fr french", 0x040C, ANSI_CHARSET, 0, nullptr,
     "Oui\t(Accepter et installer)", "Non\t(Annuler)", "Publicité"},
    {"de german", 0x0407, ANSI_CHARSET, 0, nullptr,
     "Ja\t(Annehmen, installieren)", "Nein\t(Abbrechen)", "Werbung"},
    {"he iw hebrew", 0x040D, HEBREW_CHARSET, 1, nullptr,
     "כן\t(אישור והתקנה)", "לא\t(ביטול)", "פרסומת"},
    {"hu hungarian", 0x040E, EASTEUROPE_CHARSET, 0, nullptr,
     "Igen\t(Elfogadás, telepítés)", "Nem\t(Mégse)", "Hirdetés"},
    {"is icelandic", 0x040F, ANSI_CHARSET, 0, nullptr,
     "Já\t(Samþykkja, setja upp)", "Nei\t(Hætta við)", "Auglýsing"},
    {"it italian", 0x0410, ANSI_CHARSET, 0, nullptr,
     "Sì\t(Accetta e installa)", "No\t(Annulla)", "Pubblicità"},
    {"ja japanese", 0x0411, SHIFTJIS_CHARSET, 0, nullptr,
     "はい\t(同意して導入)", "いいえ\t(取消)", "広告"},
    {"ko korean", 0x0412, HANGUL_CHARSET, 0, nullptr,
     "예\t(동의 및 설치)", "아니요\t(취소)", "광고"},
    {"nb no nn norwegian", 0x0414, ANSI_CHARSET, 0, nullptr,
     "Ja\t(Godta og installer)", "Nei\t(Avbryt)", "Reklame"},
    {"pl polish", 0x0415, EASTEUROPE_CHARSET, 0, nullptr,
     "Tak\t(Akceptuj i zainstaluj)", "Nie\t(Anuluj)", "Reklama"},
    {"pt portuguese", 0x0816, ANSI_CHARSET, 0, nullptr,
     "Sim\t(Aceitar e instalar)", "Não\t(Cancelar)", "Publicidade"},
    {"ru russian", 0x0419, RUSSIAN_CHARSET, 0, nullptr,
     "Да\t(Принять, установить)", "Нет\t(Отмена)", "Реклама"},
    {"sk slovak", 0x041B, EASTEUROPE_CHARSET, 0, nullptr,
     "Áno\t(Prijať a inštalovať)", "Nie\t(Zrušiť)", "Reklama"},
    {"sl slovenian", 0x0424, EASTEUROPE_CHARSET, 0, nullptr,
     "Da\t(Sprejmi in namesti)", "Ne\t(Prekliči)", "Oglas"},
    {"es spanish", 0x0C0A, ANSI_CHARSET, 0, nullptr,
     "Sí\t(Aceptar e instalar)", "No\t(Cancelar)", "Publicidad"},
    {"sv swedish", 0x041D, ANSI_CHARSET, 0, nullptr,
     "Ja\t(Godkänn och installera)", "Nej\t(Avbryt)", "Annons"},
    {"tr turkish", 0x041F, TURKISH_CHARSET, 0, nullptr,
     "Evet\t(Kabul et ve kur)", "Hayır\t(İptal)", "Reklam"},
    {"uk ukrainian", 0x0422, RUSSIAN_CHARSET, 0, nullptr,
     "Так\t(Згоден, встановити)", "Ні\t(Скасувати)", "Реклама"},
    {"zh-hans zh zh-cn zh-sg chinesesimplified", 0x0804, GB2312_CHARSET, 0, nullptr,
     "是\t(接受并安装)", "否\t(取消)", "广告"},
    {"zh-hant zh-tw zh-hk zh-mo chinesetraditional", 0x0404, CHINESEBIG5_CHARSET, 0, nullptr,
     "是\t(接受並安裝)", "否\t(取消)", "廣告"},
};

const int CONSENT_WORDS_COUNT = sizeof(CONSENT_WORDS) / sizeof(CONSENT_WORDS[0]);
