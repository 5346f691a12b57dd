#include "app/project.h"

int main(int argc, char** argv) {
    return parvolin::runApplication(argc, argv, parvolin::projectRecord());
}
