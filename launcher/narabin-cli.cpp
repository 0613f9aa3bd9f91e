// narabin-cli.exe: the command line's way to the program on Windows. cmd and PowerShell neither
// wait for a windowed program nor see its exit status, and read its output in the console's
// code page. This console program starts narabin.exe from its own folder with the same
// arguments, waits for it, passes its output on in the console's code page (or as UTF-16 to
// the console itself) and ends with its exit status. It uses nothing but Windows.
#include <windows.h>

#include <algorithm>
#include <string>

namespace
{

// The exit status when narabin.exe could not be started at all.
constexpr DWORD CannotStart = 2;

bool isConsole(HANDLE handle)
{
    DWORD mode = 0;
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode);
}

// Writes `text` where `handle` leads: the console in UTF-16, a file or pipe in the
// console's code page, as cmd and PowerShell read them.
void writeText(HANDLE handle, const std::wstring &text)
{
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE || text.empty())
        return;
    DWORD written = 0;
    if (isConsole(handle)) {
        WriteConsoleW(handle, text.data(), DWORD(text.size()), &written, nullptr);
        return;
    }
    const UINT codePage = GetConsoleOutputCP() != 0 ? GetConsoleOutputCP() : GetACP();
    const int size = WideCharToMultiByte(codePage, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return;
    std::string bytes(size_t(size), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), int(text.size()), bytes.data(), size, nullptr, nullptr);
    WriteFile(handle, bytes.data(), DWORD(bytes.size()), &written, nullptr);
}

// How many leading bytes of `bytes` end on a whole UTF-8 character: a character split
// between two reads waits for the rest.
size_t wholeCharacters(const std::string &bytes)
{
    size_t end = bytes.size();
    size_t back = 0;
    while (back < 3 && back < end && (static_cast<unsigned char>(bytes[end - 1 - back]) & 0xC0) == 0x80)
        ++back;
    if (back == end)
        return end;
    const auto lead = static_cast<unsigned char>(bytes[end - 1 - back]);
    const size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    return length > back + 1 ? end - 1 - back : end;
}

std::wstring fromUtf8(const std::string &bytes)
{
    if (bytes.empty())
        return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), int(bytes.size()), nullptr, 0);
    std::wstring text(size_t(std::max(size, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), int(bytes.size()), text.data(), size);
    return text;
}

struct Relay {
    HANDLE from;
    HANDLE to;
};

// Passes what the program writes (UTF-8, as it is asked to) on until it closes its end.
DWORD WINAPI relay(void *parameter)
{
    const Relay &pipe = *static_cast<const Relay *>(parameter);
    std::string pending;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(pipe.from, buffer, sizeof buffer, &read, nullptr) && read > 0) {
        pending.append(buffer, read);
        const size_t whole = wholeCharacters(pending);
        writeText(pipe.to, fromUtf8(pending.substr(0, whole)));
        pending.erase(0, whole);
    }
    writeText(pipe.to, fromUtf8(pending));
    return 0;
}

std::wstring systemMessage(DWORD code)
{
    wchar_t *text = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
    std::wstring message = length > 0 ? std::wstring(text, length) : L"エラー " + std::to_wstring(code);
    LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
        message.pop_back();
    return message;
}

// This program's own path, however long.
std::wstring ownPath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

// The arguments exactly as this program was given them: its command line without its own name.
std::wstring ownArguments()
{
    const wchar_t *line = GetCommandLineW();
    if (*line == L'"') {
        ++line;
        while (*line != L'\0' && *line != L'"')
            ++line;
        if (*line == L'"')
            ++line;
    } else {
        while (*line != L'\0' && *line != L' ' && *line != L'\t')
            ++line;
    }
    while (*line == L' ' || *line == L'\t')
        ++line;
    return line;
}

} // namespace

int main()
{
    const HANDLE errorOut = GetStdHandle(STD_ERROR_HANDLE);
    const std::wstring self = ownPath();
    const size_t slash = self.find_last_of(L"\\/");
    const std::wstring program =
        (slash == std::wstring::npos ? std::wstring() : self.substr(0, slash + 1)) + L"narabin.exe";

    // The program writes UTF-8 into the pipes when asked to; its own choice would be the
    // code page of a console it does not have.
    SetEnvironmentVariableW(L"NARABIN_OUTPUT_UTF8", L"1");

    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE outRead = nullptr, outWrite = nullptr, errRead = nullptr, errWrite = nullptr;
    if (!CreatePipe(&outRead, &outWrite, &inheritable, 0) || !CreatePipe(&errRead, &errWrite, &inheritable, 0)) {
        writeText(errorOut, L"narabin-cli: パイプを作れません（" + systemMessage(GetLastError()) + L"）。\n");
        return int(CannotStart);
    }
    // Only the program's ends are handed down.
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = outWrite;
    startup.hStdError = errWrite;
    std::wstring commandLine = L"\"" + program + L"\"";
    const std::wstring arguments = ownArguments();
    if (!arguments.empty())
        commandLine += L" " + arguments;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                        &started)) {
        writeText(errorOut,
                  L"narabin-cli: " + program + L" を起動できません（" + systemMessage(GetLastError()) + L"）。\n");
        return int(CannotStart);
    }
    // The pipes end when the program (and whatever it started with them) closes its ends.
    CloseHandle(outWrite);
    CloseHandle(errWrite);
    CloseHandle(started.hThread);

    Relay outRelay{outRead, GetStdHandle(STD_OUTPUT_HANDLE)};
    Relay errRelay{errRead, errorOut};
    HANDLE relays[2] = {CreateThread(nullptr, 0, relay, &outRelay, 0, nullptr),
                        CreateThread(nullptr, 0, relay, &errRelay, 0, nullptr)};
    WaitForSingleObject(started.hProcess, INFINITE);
    DWORD status = 0;
    GetExitCodeProcess(started.hProcess, &status);
    CloseHandle(started.hProcess);
    // A process the program started may hold the pipes on: what has come is passed on, no more.
    WaitForMultipleObjects(2, relays, TRUE, 2000);
    return int(status);
}
