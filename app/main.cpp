#include "app/project.h"

#ifdef _WIN32
// A Unicode GUI program: MinGW's start-up calls wmain for -municode, also in
// the GUI subsystem. Windows passes no arguments the program uses.
int wmain() { return parvolin::runApplication(0, nullptr, parvolin::projectRecord()); }
#else
int main(int argc, char** argv) {
    return parvolin::runApplication(argc, argv, parvolin::projectRecord());
}
#endif
