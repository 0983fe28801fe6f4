// SPDX-License-Identifier: MIT
#include "app/application.h"
#include "platform/system.h"
#include "platform/textrecognizer.h"

#include <cstring>

int main(int argc, char *argv[]) {
    // The program started again to read the words in its pictures.
    if (argc == 2 && std::strcmp(argv[1], ReadWordsArgument) == 0)
        return serveTextRecognition();
    returnLargeBuffersToSystem();
    int code = 0;
    {
        Application application(argc, argv);
        code = application.exec();
    }
    return endProcess(code);
}
