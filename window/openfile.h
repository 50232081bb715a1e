// OpenFileForReading: a buffered binary stream on any path the file dialog
// can return, whatever its characters or length, closed when its owner goes.
#pragma once

#include <cstdio>
#include <memory>

struct FileCloser
{
    void operator()(FILE* stream) const { std::fclose(stream); }
};
using CFileStream = std::unique_ptr<FILE, FileCloser>;

// Opens path (text in the process's 8-bit code page) read-only in binary
// mode; empty when it cannot be opened.
CFileStream OpenFileForReading(const char* path);
