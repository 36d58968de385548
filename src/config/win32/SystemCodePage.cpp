#include "config/win32/SystemCodePage.h"

#include <windows.h>

bool SystemLeadByte(std::uint8_t byte) { return IsDBCSLeadByte(byte) != 0; }

void SystemUpperCase(char* text, std::size_t length) {
  CharUpperBuffA(text, static_cast<DWORD>(length));
}
