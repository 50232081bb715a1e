#include "window/openfile.h"

#include <windows.h>

#include <string>

namespace {

// The wide form of a path in the process's code page, so a name in any
// script is reached whatever the C runtime's idea of the code page; past
// MAX_PATH with the \\?\ prefix, which lifts the limit on a full drive or
// UNC path. Empty when the path is empty or not valid in the code page.
std::wstring WidePath(const char* path)
{
    const int nChars = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, path, -1, NULL, 0);
    if (nChars <= 1)
        return std::wstring();
    std::wstring wide(static_cast<size_t>(nChars), L'\0');
    MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, path, -1, &wide[0], nChars);
    wide.resize(static_cast<size_t>(nChars) - 1);

    if (wide.size() >= MAX_PATH && wide.compare(0, 4, L"\\\\?\\") != 0) {
        if (wide.size() > 2 && wide[1] == L':' && wide[2] == L'\\')
            wide.insert(0, L"\\\\?\\");
        else if (wide.compare(0, 2, L"\\\\") == 0)
            wide.replace(0, 2, L"\\\\?\\UNC\\");
    }
    return wide;
}

} // namespace

CFileStream OpenFileForReading(const char* path)
{
    const std::wstring wide = WidePath(path);
    if (wide.empty())
        return CFileStream();
    CFileStream stream(_wfopen(wide.c_str(), L"rb"));
    // 1 MiB of stream buffer: the 1024-byte reads then cost a copy, not a
    // system call each.
    if (stream)
        setvbuf(stream.get(), NULL, _IOFBF, 1 << 20);
    return stream;
}

bool IsFolder(const char* path)
{
    const std::wstring wide = WidePath(path);
    const DWORD dwAttributes = wide.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(wide.c_str());
    return dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}
