// OpenFileForReading: a buffered binary stream on any path the file dialog
// can return, whatever its characters or length.
#pragma once

#include <cstdio>

// Opens path (text in the process's 8-bit code page) read-only in binary
// mode; NULL when it cannot be opened.
FILE* OpenFileForReading(const char* path);
