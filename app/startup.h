#pragma once
namespace corpo {
int Main(int argc, char** argv);
}
