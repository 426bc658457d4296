#include "assets/tools/pack_command.h"

int main(int argc, char** argv) { return sddpackMain(argc, argv); }
