// A registered browser command and a hostile URL, split from the input at its
// first zero byte. The command line is checked against a plain model: the URL
// always lands as one run of bytes without quotes, blanks or control bytes,
// and decodes back to the URL.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "browser/BrowserCommandLine.h"

namespace {

bool Splits(unsigned char byte) { return byte <= 0x20 || byte == 0x7F || byte == '"'; }

std::string ModelEncode(const std::string& url) {
    static const char digits[] = "0123456789ABCDEF";
    std::string encoded;
    for (unsigned char byte : url) {
        if (!Splits(byte)) {
            encoded += static_cast<char>(byte);
            continue;
        }
        encoded += '%';
        encoded += digits[byte >> 4];
        encoded += digits[byte & 0x0F];
    }
    return encoded;
}

std::string ModelLine(std::string command, const std::string& url) {
    if (command.find("%1") == std::string::npos) command += " %1";
    std::string encoded = ModelEncode(url);
    std::string line;
    for (size_t at = 0; at < command.size();) {
        if (command.compare(at, 2, "%1") == 0) {
            line += encoded;
            at += 2;
        } else {
            line += command[at++];
        }
    }
    return line;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string input(reinterpret_cast<const char*>(data), size);
    size_t split = input.find('\0');
    std::string command = input.substr(0, split);
    std::string url = split == std::string::npos ? std::string() : input.substr(split + 1);
    url = url.substr(0, url.find('\0'));
    if (command.empty()) return 0;

    std::string encoded = static_cast<const char*>(EncodeUrlArgument(url.c_str()));
    for (unsigned char byte : encoded)
        if (Splits(byte)) abort();
    if (encoded != ModelEncode(url)) abort();

    std::string line = static_cast<const char*>(BuildBrowserCommandLine(CMsString(command.c_str()), url.c_str()));
    if (line != ModelLine(command, url)) abort();
    return 0;
}
