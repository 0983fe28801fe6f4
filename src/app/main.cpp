// SPDX-License-Identifier: MIT
#include "app/application.h"
#include "platform/system.h"

int main(int argc, char *argv[]) {
    returnLargeBuffersToSystem();
    Application application(argc, argv);
    return application.exec();
}
