// Loads each DLL named on its command line by name, as a program that does
// not restrict the DLL search would: from its own folder first.
#include <windows.h>

int main(int argc, char** argv)
{
    int nFailed = 0;
    for (int i = 1; i < argc; ++i)
        nFailed += LoadLibraryA(argv[i]) == NULL;
    return nFailed;
}
