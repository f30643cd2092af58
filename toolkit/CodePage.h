// The 8-bit code page of the stored texts (Windows-1252) and UTF-8, the encoding used
// inside the program.
#pragma once

#include <QChar>
#include <string>
#include <string_view>

QChar Cp1252Char(unsigned char Code);
bool IsValidUtf8(std::string_view Bytes);
std::string Cp1252ToUtf8(std::string_view Bytes);
// Bytes as they are when valid UTF-8, else read as Windows-1252.
std::string ToUtf8(std::string_view Bytes);
