// Tarvo: catalogue of a video collection. All work is in the libraries.
#include "program/tarvomain.h"

int main(int argc, char **argv)
{
    return TarvoMain(argc, argv);
}
