#include "MorvaneApp.h"

int main(int argc, char** argv)
{
    CMorvaneApp app;
    return app.Run(argc, argv);
}
