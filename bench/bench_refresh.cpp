// Times the general refresh on a database of realistic size.
// Usage: bench_refresh <folder holding Kestrova.mdb>
#include "shell/Clock.h"
#include "shell/Forms.h"
#include "shell/MainForm.h"
#include "shell/PublicFunction.h"
#include "shell/ShareDM.h"

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_refresh <program folder>\n");
        return 2;
    }
    SetProgramDirOverride(QString::fromLocal8Bit(argv[1]));
    CreateForms();
    QElapsedTimer timer;
    for (int round = 0; round < 3; ++round) {
        timer.start();
        FormMain->RefreshAllPages();
        std::printf("general refresh: %lld ms\n", static_cast<long long>(timer.elapsed()));
    }
    DestroyForms();
    return 0;
}
