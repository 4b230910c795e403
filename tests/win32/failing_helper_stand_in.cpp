// Stands in for a hosts helper whose rewrite fails: it ends with exit code 1 and changes nothing.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return 1;
}
