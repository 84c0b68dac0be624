#include "app/CMyNumSieveApp.h"

int main(int argc, char *argv[])
{
    numsieve::gui::CMyNumSieveApp app(argc, argv);
    return app.run();
}
