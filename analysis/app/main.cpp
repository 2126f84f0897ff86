#include "programrun.h"

int main(int argc, char **argv)
{
    return runAnalysisProgram(argc, argv);
}
