#pragma once
#include <string>

// The program's text is UTF-8; Windows' wide-character calls take UTF-16.
std::wstring wideFromUtf8(const std::string& text);
std::string utf8FromWide(const std::wstring& text);

// The system's own words for an error code (GetLastError), in UTF-8,
// without the line end and the final full stop.
std::string systemMessage(unsigned long code);
