// Loads each DLL named on the command line as an unhardened program would (LoadLibrary of the bare
// name, the program's folder searched first), to show that a DLL planted beside a program is
// taken when nothing keeps it out. Exit code 0 when every one loaded.

#include <windows.h>

int wmain(int argc, wchar_t** argv) {
    int failed = 0;
    for (int i = 1; i < argc; ++i) {
        if (::LoadLibraryW(argv[i]) == nullptr) {
            ++failed;
        }
    }
    return failed;
}
