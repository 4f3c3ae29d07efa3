#include "platform/sdl/sdl_platform.h"
#include "shell/launch.h"

int main(int argc, char** argv) { return kiv::KivMain(argc, argv, &kiv::MakeSdlPlatform); }
