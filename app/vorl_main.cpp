// The program's entry and its one application object.
#include "app/flake_app.h"

CFlakeApp theApp;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return AfxWinMain(instance); }
