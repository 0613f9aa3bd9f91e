// The program's code page 932 codec, built for Windows, against Windows' own conversions
// (MultiByteToWideChar, WideCharToMultiByte without best fit): every single byte and every
// byte pair read, every code point of the BMP written. Prints what differs; exit status 1
// when anything does.
#include "core/cp932.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

namespace
{

constexpr UINT CodePage = 932;

// Bytes that Windows reads as private-use characters (U+F8F0-U+F8F3) by default and refuses
// when asked to refuse what is no character (MB_ERR_INVALID_CHARS). The program reads them as
// the default does: a file that a Windows program wrote with them still opens, and is
// written back byte for byte. Every other sequence reads as the strict Windows reads it.
constexpr unsigned char ReadAsWindowsDefault[] = {0xA0, 0xFD, 0xFE, 0xFF};

bool readAsDefault(unsigned char b)
{
    return std::find(std::begin(ReadAsWindowsDefault), std::end(ReadAsWindowsDefault), b) !=
           std::end(ReadAsWindowsDefault);
}

std::optional<std::u16string> windowsReads(std::string_view bytes, DWORD flags)
{
    wchar_t text[4];
    const int n = MultiByteToWideChar(CodePage, flags, bytes.data(), int(bytes.size()), text, 4);
    if (n == 0)
        return std::nullopt;
    return std::u16string(text, text + n);
}

// Windows' strict reading, character by character, except the bytes above.
std::optional<std::u16string> expectedReading(std::string_view bytes)
{
    std::u16string text;
    for (size_t i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        const size_t length = IsDBCSLeadByteEx(CodePage, b) && i + 1 < bytes.size() ? 2 : 1;
        const auto part = windowsReads(bytes.substr(i, length), readAsDefault(b) ? 0 : MB_ERR_INVALID_CHARS);
        if (!part)
            return std::nullopt;
        text += *part;
        i += length;
    }
    return text;
}

std::optional<std::string> windowsWrites(char16_t c)
{
    const wchar_t text = wchar_t(c);
    char bytes[4];
    BOOL usedDefault = FALSE;
    const int n = WideCharToMultiByte(CodePage, WC_NO_BEST_FIT_CHARS, &text, 1, bytes, 4, nullptr, &usedDefault);
    if (n == 0 || usedDefault)
        return std::nullopt;
    return std::string(bytes, size_t(n));
}

std::string hexOf(const std::optional<std::string> &bytes)
{
    if (!bytes)
        return "none";
    std::string hex;
    for (const char b : *bytes) {
        char two[3];
        std::snprintf(two, sizeof two, "%02X", static_cast<unsigned char>(b));
        hex += two;
    }
    return hex;
}

std::string codesOf(const std::optional<std::u16string> &text)
{
    if (!text)
        return "none";
    std::string codes;
    for (const char16_t c : *text) {
        char code[8];
        std::snprintf(code, sizeof code, "U+%04X", unsigned(c));
        codes += (codes.empty() ? "" : " ") + std::string(code);
    }
    return codes;
}

int faults = 0;

void fault(const std::string &what)
{
    if (++faults <= 40)
        std::printf("%s\n", what.c_str());
}

} // namespace

int main()
{
    int sequences = 0;
    for (int first = 0; first <= 0xFF; ++first) {
        for (int second = -1; second <= 0xFF; ++second, ++sequences) {
            std::string bytes(1, char(first));
            if (second >= 0)
                bytes += char(second);
            const std::optional<QString> read = decodeCp932(std::string_view(bytes));
            const std::string ours = codesOf(read ? std::optional(read->utf16()) : std::nullopt);
            const std::string windows = codesOf(expectedReading(bytes));
            if (ours != windows)
                fault("reading " + hexOf(bytes) + ": " + ours + ", Windows " + windows);
        }
    }
    for (const unsigned char b : ReadAsWindowsDefault) {
        if (windowsReads(std::string(1, char(b)), MB_ERR_INVALID_CHARS))
            fault("Windows now reads " + hexOf(std::string(1, char(b))) + " strictly too: no difference to keep");
    }
    int codePoints = 0;
    for (int code = 0; code <= 0xFFFF; ++code, ++codePoints) {
        const char16_t c = char16_t(code);
        const std::optional<QByteArray> written = encodeCp932Exactly(std::u16string_view(&c, 1));
        const std::string ours = hexOf(written ? std::optional(written->data()) : std::nullopt);
        const std::string windows = hexOf(windowsWrites(c));
        if (ours != windows)
            fault("writing " + codesOf(std::u16string(1, c)) + ": " + ours + ", Windows " + windows);
    }
    std::printf("%d byte sequences read, %d code points written: %d differ from Windows\n", sequences, codePoints,
                faults);
    return faults == 0 ? 0 : 1;
}
