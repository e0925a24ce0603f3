#include "app/programstart.h"

int main(int argc, char** argv)
{
    return arcavio::runProgram(argc, argv);
}
