#include <QApplication>

int RunFieldDialogsTests(int argc, char** argv);
int RunSmallDialogsTests(int argc, char** argv);
int RunExportDialogTests(int argc, char** argv);

// One program for the dialogs of the shell, one test class per family.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int failed = 0;
    failed += RunFieldDialogsTests(argc, argv);
    failed += RunSmallDialogsTests(argc, argv);
    failed += RunExportDialogTests(argc, argv);
    return failed;
}
