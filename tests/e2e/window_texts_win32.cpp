// For the Wine cases: prints where the client area of the top-level window
// with the given title lies on the screen ("client X Y WIDTH HEIGHT"), then the
// texts of its controls, one per line in UTF-8, so a case can read what a
// native dialog shows. Exit status 1 when no such window is there.
//   window_texts TITLE
#include <windows.h>
// After windows.h, which it builds on.
#include <cstdio>
#include <shellapi.h>
#include <string>

namespace {

std::string Utf8(const std::wstring& wide) {
    if (wide.empty())
        return {};
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                        nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n,
                              nullptr, nullptr);
    return out;
}

BOOL CALLBACK PrintText(HWND control, LPARAM) {
    wchar_t text[1024] = {};
    ::GetWindowTextW(control, text, 1024);
    if (text[0] != L'\0')
        std::printf("%s\n", Utf8(text).c_str());
    return TRUE;
}

} // namespace

int main() {
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (argv == nullptr || argc != 2) {
        std::fprintf(stderr, "usage: window_texts TITLE\n");
        return 2;
    }
    const HWND window = ::FindWindowW(nullptr, argv[1]);
    if (window == nullptr)
        return 1;
    RECT client{};
    ::GetClientRect(window, &client);
    POINT origin{0, 0};
    ::ClientToScreen(window, &origin);
    std::printf("client %ld %ld %ld %ld\n", origin.x, origin.y, client.right, client.bottom);
    ::EnumChildWindows(window, PrintText, 0);
    return 0;
}
