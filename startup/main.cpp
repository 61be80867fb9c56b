#include "startup/startup.h"

int main(int argc, char** argv) { return corpo::Main(argc, argv); }
