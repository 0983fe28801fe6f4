// SPDX-License-Identifier: MIT
// The process that reads the words in the program's pictures: Tesseract,
// loaded through its C interface when this process starts, so that the
// program itself never holds the engine or runs it on a picture.
#include "platform/limits.h"
#include "platform/ocrprotocol_p.h"
#include "platform/pipeio.h"
#include "platform/textrecognizer.h"

#include <csignal>
#include <cstring>
#include <dlfcn.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>
#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace {

struct TessBaseApi;

/// The part of Tesseract's C interface (capi.h) used here, alike in its
/// versions 4 and 5.
struct Engine {
    TessBaseApi *(*create)();
    int (*init)(TessBaseApi *, const char *dataPath, const char *languages, int mode);
    int (*setVariable)(TessBaseApi *, const char *name, const char *value);
    void (*setImage)(TessBaseApi *, const unsigned char *data, int width, int height,
                     int bytesPerPixel, int bytesPerLine);
    char *(*text)(TessBaseApi *);
    void (*deleteText)(const char *);
    void (*clear)(TessBaseApi *);
    void (*destroy)(TessBaseApi *);
};
/// OEM_LSTM_ONLY: the models Debian and the others ship.
constexpr int LstmOnly = 1;

template <typename Function> bool resolve(void *library, const char *name, Function &function) {
    function = reinterpret_cast<Function>(::dlsym(library, name));
    return function != nullptr;
}

bool load(Engine &engine) {
    void *library = nullptr;
    for (const char *name : {"libtesseract.so.5", "libtesseract.so.4"}) {
        if ((library = ::dlopen(name, RTLD_NOW | RTLD_LOCAL)))
            break;
    }
    if (!library)
        return false;
    // The engine's own threads would fight the program for the processor,
    // and on a busy machine they spin far longer than one thread takes: one
    // picture, one thread.
    if (void *openMp = ::dlopen("libgomp.so.1", RTLD_NOW | RTLD_NOLOAD)) {
        void (*maxActiveLevels)(int) = nullptr;
        if (resolve(openMp, "omp_set_max_active_levels", maxActiveLevels))
            maxActiveLevels(0);
    }
    return resolve(library, "TessBaseAPICreate", engine.create) &&
           resolve(library, "TessBaseAPIInit2", engine.init) &&
           resolve(library, "TessBaseAPISetVariable", engine.setVariable) &&
           resolve(library, "TessBaseAPISetImage", engine.setImage) &&
           resolve(library, "TessBaseAPIGetUTF8Text", engine.text) &&
           resolve(library, "TessDeleteText", engine.deleteText) &&
           resolve(library, "TessBaseAPIClear", engine.clear) &&
           resolve(library, "TessBaseAPIDelete", engine.destroy);
}

/// The engine with its models, loaded at the first picture; null when
/// there are none.
TessBaseApi *start(const Engine &engine) {
    TessBaseApi *api = engine.create();
    // Chinese with English; English alone where the Chinese model is missing.
    for (const char *languages : {"chi_sim+eng", "eng"}) {
        if (engine.init(api, nullptr, languages, LstmOnly) == 0) {
            engine.setVariable(api, "debug_file", "/dev/null");
            return api;
        }
    }
    engine.destroy(api);
    return nullptr;
}

} // namespace

int serveTextRecognition() {
    // Below everything else on the machine, and gone with the program.
    const sched_param none{};
    ::sched_setscheduler(0, SCHED_IDLE, &none);
    ::setpriority(PRIO_PROCESS, 0, 19);
#ifdef __linux__
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
#endif
    Engine engine{};
    if (!load(engine))
        return ocr::NoEngine;
    TessBaseApi *api = nullptr;
    std::vector<unsigned char> grey;
    for (;;) {
        quint32 size[2];
        if (!readAll(STDIN_FILENO, size, sizeof size))
            break; // the program is done
        const qint64 pixels = qint64(size[0]) * size[1];
        if (pixels <= 0 || pixels > limits::PicturePixels)
            break;
        grey.resize(size_t(pixels));
        if (!readAll(STDIN_FILENO, grey.data(), grey.size()))
            break;
        if (!api && !(api = start(engine)))
            return ocr::NoModels;
        engine.setImage(api, grey.data(), int(size[0]), int(size[1]), 1, int(size[0]));
        char *text = engine.text(api);
        const quint32 length =
            text ? quint32(std::min<size_t>(std::strlen(text), ocr::MaxWords)) : 0;
        const bool told = writeAllNoSignal(STDOUT_FILENO, reinterpret_cast<const char *>(&length),
                                           sizeof length) &&
                          writeAllNoSignal(STDOUT_FILENO, text, length);
        engine.deleteText(text);
        engine.clear(api);
        if (!told)
            break;
    }
    if (api)
        engine.destroy(api);
    return ocr::Done;
}
