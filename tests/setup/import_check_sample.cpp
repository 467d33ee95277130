// A program that imports version.dll, which Windows looks for beside the program first: the import
// check must refuse it.

#include <windows.h>

int main() {
    return static_cast<int>(::GetFileVersionInfoSizeW(L"kernel32.dll", nullptr) == 0);
}
