#include "tools/archive/pack_command.h"

int main(int argc, char** argv) { return sddpackMain(argc, argv); }
