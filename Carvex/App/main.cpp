#include "Carvex/App/Application.h"

int main(int argc, char** argv) { return Carvex::Application::main(argc, argv); }
