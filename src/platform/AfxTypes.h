// Windows/MFC base types that the module's code is written against.
#pragma once

#include <cstdint>

typedef int BOOL;
typedef unsigned int UINT;
typedef unsigned int* PUINT;
typedef std::uint32_t DWORD;
typedef long LONG;
typedef std::int16_t SWORD;
typedef const char* LPCTSTR;
typedef char* LPTSTR;
typedef void* LPVOID;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

constexpr DWORD INFINITE = 0xFFFFFFFF;
