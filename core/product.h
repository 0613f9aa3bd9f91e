#pragma once

// What the program says about itself in its logo, splash and version windows.
namespace product
{
inline constexpr char Title[] = "ならびん君 for Windows";
inline constexpr char PlatformLine[] = "for Windows 98/Me/NT/2000/XP";
inline constexpr char Version[] = "Ver 1.0";
inline constexpr char Notice[] = "Copyright (C) 2026";
inline constexpr char Author[] = "有志";
inline constexpr char MailAddress[] = "narabin@example.jp";
inline constexpr char HomePageSite[] = "http://www.example.jp/";
inline constexpr char HomePagePath[] = "narabin/";
inline constexpr char DownloadPage[] = "http://www.example.jp/narabin/download.html";
} // namespace product
