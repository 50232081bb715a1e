// Files named by paths the file dialog or a drop can give, whatever their
// characters or length (text in the process's 8-bit code page):
//   OpenFileForReading - a buffered binary stream, closed when its owner goes.
//   IsFolder           - whether the path names a folder.
#pragma once

#include <cstdio>
#include <memory>

struct FileCloser
{
    void operator()(FILE* stream) const { std::fclose(stream); }
};
using CFileStream = std::unique_ptr<FILE, FileCloser>;

// Opens path read-only in binary mode; empty when it cannot be opened.
CFileStream OpenFileForReading(const char* path);
bool IsFolder(const char* path);
