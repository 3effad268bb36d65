#include "html/FontNameIndex.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "util/AsciiCase.h"

namespace {
// Writes name with its one-byte letters folded (double-byte characters stay
// as they are, as StringList's Find compares them) and returns the end.
char* CopyFolded(const char* name, char* out) {
    while (*name) {
        int size = CharBytes(name);
        if (size == 1) {
            *out++ = FoldAscii(*name++);
            continue;
        }
        for (int i = 0; i < size && *name; ++i) *out++ = *name++;
    }
    *out++ = '\0';
    return out;
}

// strcmp of key against the folded copy of name, without making the copy.
int CompareFolded(const char* key, const char* name) {
    int i = 0;
    while (name[i]) {
        int size = CharBytes(name + i);
        for (int end = i + size; i < end && name[i]; ++i) {
            unsigned char ours = static_cast<unsigned char>(size == 1 ? FoldAscii(name[i]) : name[i]);
            unsigned char theirs = static_cast<unsigned char>(key[i]);
            if (theirs != ours) return theirs < ours ? -1 : 1;
        }
    }
    return key[i] ? 1 : 0;
}

int CompareKeys(const void* a, const void* b) {
    return strcmp(*static_cast<const char* const*>(a), *static_cast<const char* const*>(b));
}
}  // namespace

CFontNameIndex::CFontNameIndex(const StringList& names)
    : m_names(names), m_text(nullptr), m_keys(nullptr), m_count(0), m_built(false), m_usable(false) {}

CFontNameIndex::~CFontNameIndex() {
    delete[] m_keys;
    delete[] m_text;
}

bool CFontNameIndex::Build() const {
    size_t bytes = 0;
    for (int i = 0; i < m_names.count; ++i) {
        const char* name = m_names.GetAt(i);
        if (name && *name) bytes += strlen(name) + 1;
    }
    if (bytes == 0) return true;
    m_text = new (std::nothrow) char[bytes];
    m_keys = new (std::nothrow) const char*[static_cast<size_t>(m_names.count)];
    if (!m_text || !m_keys) return false;
    char* out = m_text;
    for (int i = 0; i < m_names.count; ++i) {
        const char* name = m_names.GetAt(i);
        if (!name || !*name) continue;
        m_keys[m_count++] = out;
        out = CopyFolded(name, out);
    }
    qsort(m_keys, static_cast<size_t>(m_count), sizeof(const char*), CompareKeys);
    return true;
}

bool CFontNameIndex::Contains(const char* name) const {
    if (!name || !*name) return false;
    if (!m_built) {
        m_built = true;
        m_usable = Build();
    }
    // Without memory for the index the names are searched one by one.
    if (!m_usable) return m_names.Find(name, 0) >= 0;
    int low = 0;
    int high = m_count - 1;
    while (low <= high) {
        int middle = low + (high - low) / 2;
        int order = CompareFolded(m_keys[middle], name);
        if (order == 0) return true;
        if (order < 0) {
            low = middle + 1;
        } else {
            high = middle - 1;
        }
    }
    return false;
}
