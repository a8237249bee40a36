// The user program of the library's own test process: whatever each test asks for.
#include "framework_fixture.h"
#include "krtlib.h"

void UserProgramInit(void)
{
    if (testUserInit)
        testUserInit();
}

void UserProgramMain(void)
{
    if (testUserMain)
        testUserMain();
}
