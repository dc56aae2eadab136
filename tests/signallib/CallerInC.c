/* A third-party program in C binding the library at run time. */
#include <dlfcn.h>
#include <stdio.h>
#include <string.h>

#include "SignalLib/SignalTalvo.h"

static int Fail(const char *what) {
    fprintf(stderr, "%s\n", what);
    return 1;
}

int main(int argc, char **argv) {
    if (argc != 2) return Fail("usage: signallib_c_caller <library>");
    void *library = dlopen(argv[1], RTLD_NOW);
    if (library == NULL) return Fail(dlerror());

    TGetDllVersionFunc getDllVersion = (TGetDllVersionFunc)dlsym(library, "GetDllVersion");
    TCheckSignalDataFunc checkSignalData = (TCheckSignalDataFunc)dlsym(library, "CheckSignalData");
    TGetErrorTextFunc getErrorText = (TGetErrorTextFunc)dlsym(library, "GetErrorText");
    if (getDllVersion == NULL || checkSignalData == NULL || getErrorText == NULL) return Fail("missing export");

    uint16_t major = 0, minor = 0;
    getDllVersion(&major, &minor);
    if (major != 2 || minor != 4) return Fail("wrong version");

    TOutSignalParams params;
    memset(&params, 0, sizeof params);
    int16_t code = checkSignalData(params);
    if (code != 91) return Fail("an all-zero record must fail on the voltage range");

    /* "Неверный диапазон напряжения." in Windows-1251 */
    static const char expected[] =
        "\xCD\xE5\xE2\xE5\xF0\xED\xFB\xE9 \xE4\xE8\xE0\xEF\xE0\xE7\xEE\xED "
        "\xED\xE0\xEF\xF0\xFF\xE6\xE5\xED\xE8\xFF.";
    char text[88];
    if (!getErrorText(code, text) || strcmp(text, expected) != 0) return Fail("wrong text");

    dlclose(library);
    return 0;
}
