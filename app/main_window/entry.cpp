// tavrel: a font viewer. The window reads its own wide command line.

#include <windows.h>

#include "application.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    return tavrel::RunApplication(instance, showCommand);
}
