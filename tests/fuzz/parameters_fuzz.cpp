// The parameter text from a hostile host: the five field reads, the location
// name and the width, on raw bytes and on texts built from tagged pieces, and
// the same bytes read back from a file.
//
// The input's first byte picks the form:
//   even: the rest is the parameter text itself, and a parameter file, whose
//         encoding is decided as a whole (code page, UTF-8, UTF-16);
//   odd:  the rest is split at 0xFF bytes into pieces that become the TITLE,
//         LOCATION, WIDTH, MESSAGE and DISCLAIMER fields (tags written in a
//         case the first byte chooses); the fields read back are checked
//         against the pieces.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iconv.h>
#include <string>
#include <strings.h>
#include <unistd.h>
#include <vector>

#include "dialog/ConsentLanguage.h"
#include "dialog/DialogLocation.h"
#include "dialog/ParameterSource.h"
#include "dialog/TagReader.h"

namespace {
const char* const TAGS[] = {"TITLE", "LOCATION", "WIDTH", "MESSAGE", "DISCLAIMER"};
const int TAG_COUNT = 5;
const char* const LOCATION_NAMES[] = {"Top-Left",     "Top-Center",    "Top-Right",
                                      "Center-Left",  "Center-Center", "Center-Right",
                                      "Bottom-Left",  "Bottom-Center", "Bottom-Right"};
const LONG FALLBACK_WIDTH = 323;

void Check(bool condition) {
    if (!condition) abort();
}

std::string Bytes(const CMsString& text) { return std::string(static_cast<const char*>(text), text.GetLength()); }

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

bool IsHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    return (c | 0x20) - 'a' + 10;
}

// "#x" and two hexadecimal digits stand for one byte.
std::string Unescaped(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size();) {
        if (text[i] == '#' && i + 3 < text.size() && text[i + 1] == 'x' && IsHex(text[i + 2]) &&
            IsHex(text[i + 3])) {
            out += static_cast<char>(HexDigit(text[i + 2]) * 16 + HexDigit(text[i + 3]));
            i += 4;
            continue;
        }
        out += text[i++];
    }
    return out;
}

std::string WithCase(const char* tag, uint8_t style) {
    std::string out(tag);
    for (size_t i = 0; i < out.size(); ++i) {
        if ((style >> (i % 7)) & 1) out[i] = static_cast<char>(out[i] | 0x20);
    }
    return out;
}

// Pieces may not contain what the check cannot predict: a zero byte ends the
// text, a "<" could start or end another tag.
std::string Sanitised(std::string piece) {
    for (char& c : piece) {
        if (c == '\0' || c == '<') c = '_';
    }
    return piece;
}

bool HasBlankEnds(const std::string& text) { return !text.empty() && (IsBlank(text.front()) || IsBlank(text.back())); }

LONG ExpectedLocation(const std::string& name) {
    for (LONG row = 0; row < 9; ++row) {
        if (strcasecmp(name.c_str(), LOCATION_NAMES[row]) == 0) return row;
    }
    return DL_CENTER_CENTER;
}

// Short plain decimal numbers have one obvious value.
bool SmallDecimal(const std::string& text, LONG& value) {
    if (text.empty() || text.size() > 9) return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

// Every read must come back without crashing and within its range.
void ReadEverything(const CMsString& text) {
    TagReader reader(text);
    for (const char* tag : TAGS) {
        CMsString value = reader.ReadField(tag);
        Check(value.GetLength() <= text.GetLength());
    }
    LONG location = reader.ReadLocation();
    Check(location >= DL_TOP_LEFT && location <= DL_BOTTOM_RIGHT);
    Check(location == LocationFromName(reader.ReadField("LOCATION")));
    LONG width = reader.ReadWidth(FALLBACK_WIDTH);
    Check(width >= 1);
    Check(reader.ReadWidth(0) == width || width == FALLBACK_WIDTH);
    LONG anywhere = LocationFromName(text);
    Check(anywhere >= DL_TOP_LEFT && anywhere <= DL_BOTTOM_RIGHT);
    CMsString language = ReadLanguageField(text);
    Check(language.GetLength() <= text.GetLength());
    Check(ConsentWordsFor(language) != nullptr && ConsentWordsFor(text) != nullptr);
}

std::vector<std::string> SplitPieces(const uint8_t* data, size_t size) {
    std::vector<std::string> pieces(TAG_COUNT);
    int at = 0;
    for (size_t i = 0; i < size && at < TAG_COUNT; ++i) {
        if (data[i] == 0xFF) {
            ++at;
            continue;
        }
        pieces[static_cast<size_t>(at)] += static_cast<char>(data[i]);
    }
    for (std::string& piece : pieces) piece = Sanitised(piece);
    return pieces;
}

void CheckTaggedPieces(const uint8_t* data, size_t size, uint8_t style) {
    std::vector<std::string> pieces = SplitPieces(data, size);
    std::string text = "junk before ";
    for (int i = 0; i < TAG_COUNT; ++i) {
        text += "<" + WithCase(TAGS[i], style) + ">" + pieces[static_cast<size_t>(i)] + "</" +
                WithCase(TAGS[i], static_cast<uint8_t>(style >> 1)) + ">\r\n";
    }
    CMsString source(text.c_str());
    ReadEverything(source);
    TagReader reader(source);
    for (int i = 0; i < TAG_COUNT; ++i) {
        const std::string& piece = pieces[static_cast<size_t>(i)];
        if (HasBlankEnds(piece)) continue;
        std::string expected = Unescaped(piece);
        Check(Bytes(reader.ReadField(TAGS[i])) == expected);
    }
    const std::string& location = pieces[1];
    if (!HasBlankEnds(location) && location.find('#') == std::string::npos) {
        Check(reader.ReadLocation() == ExpectedLocation(location));
    }
    LONG width = 0;
    if (SmallDecimal(pieces[2], width)) {
        Check(reader.ReadWidth(FALLBACK_WIDTH) == (width >= 1 ? width : FALLBACK_WIDTH));
    }
}

// One scratch file for the whole run, removed at exit.
char scratchPath[] = "/tmp/mirel_parameters_fuzz_XXXXXX";

void RemoveScratch() { unlink(scratchPath); }

int ScratchFile() {
    static int fd = -1;
    if (fd >= 0) return fd;
    fd = mkstemp(scratchPath);
    if (fd >= 0) atexit(RemoveScratch);
    return fd;
}

// Well-formed UTF-8 as the C library's converter judges it, a second
// opinion on the library's own decoder.
bool IsWellFormedUtf8(const std::string& text) {
    static iconv_t converter = iconv_open("UTF-16LE", "UTF-8");
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    std::string in = text;
    std::vector<char> out(in.size() * 2 + 2);
    char* from = in.empty() ? nullptr : &in[0];
    char* to = out.data();
    size_t inLeft = in.size();
    size_t outLeft = out.size();
    return inLeft == 0 || iconv(converter, &from, &inLeft, &to, &outLeft) != static_cast<size_t>(-1);
}

bool HasHighByte(const std::string& text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) return true;
    }
    return false;
}

// The bytes as a parameter file, read as a whole in one encoding: code-page
// text is the file up to its first zero byte; a UTF text is the UTF-8 mark
// and well-formed UTF-8, its source itself where that was well-formed. The
// string naming the file is never taken as the text.
void CheckFileSource(const uint8_t* data, size_t size) {
    int fd = ScratchFile();
    if (fd < 0) return;
    if (ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) return;
    const std::string mark = "\xEF\xBB\xBF";
    std::string loaded = Bytes(LoadParameterSource(scratchPath));
    std::string text(reinterpret_cast<const char*>(data), strnlen(reinterpret_cast<const char*>(data), size));
    bool utf16 = size >= 2 && data[0] == 0xFF && data[1] == 0xFE;
    bool marked = text.compare(0, 3, mark) == 0;
    bool utf8 = marked || (HasHighByte(text) && IsWellFormedUtf8(text));
    if (!utf16 && !utf8) {
        Check(loaded == text);
    } else if (!loaded.empty()) {
        Check(loaded.compare(0, 3, mark) == 0 && IsWellFormedUtf8(loaded.substr(3)));
        // A mark right after the mark is read as the UTF-16 text's own mark and dropped.
        std::string expected = marked ? text : mark + text;
        if (expected.compare(3, 3, mark) == 0) expected.erase(3, 3);
        if (!utf16 && IsWellFormedUtf8(text)) Check(loaded == expected);
    }
    ReadEverything(CMsString(loaded.c_str()));
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    uint8_t mode = data[0];
    ++data;
    --size;
    if (mode & 1) {
        CheckTaggedPieces(data, size, mode);
        return 0;
    }
    std::string text(reinterpret_cast<const char*>(data), size);
    ReadEverything(CMsString(text.c_str()));
    CheckFileSource(data, size);
    return 0;
}
