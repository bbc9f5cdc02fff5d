// Opens one editor dialog in a real window with sample content and saves a
// picture of the screen around it, for the screenshots in docs/editor/:
//   xvfb-run -a -s "-screen 0 1024x768x24" build/tests/editor/dialog_shots NAME OUT.png
// Without NAME it lists the dialogs it knows.

#include "ShotScenes.h"

#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const std::vector<TShotScene>& scenes = ShotScenes();
    if (argc < 3)
    {
        for (const TShotScene& scene : scenes)
            std::printf("%s\n", scene.name);
        return argc == 1 ? 0 : 2;
    }
    const TShotScene* scene = nullptr;
    for (const TShotScene& s : scenes)
        if (QString::fromUtf8(s.name) == QString::fromUtf8(argv[1]))
            scene = &s;
    if (scene == nullptr)
    {
        std::fprintf(stderr, "dialog_shots: no scene %s\n", argv[1]);
        return 2;
    }

    CShotStage stage;
    QWidget* shown = scene->open(stage);
    if (shown == nullptr)
        return 1;
    const QString out = QString::fromLocal8Bit(argv[2]);
    int status = 1;
    QTimer::singleShot(600,
                       [&]
                       {
                           // The whole screen: popups that stand outside the dialog are in it.
                           QRect area = shown->frameGeometry();
                           for (QWidget* w : QApplication::topLevelWidgets())
                               if (w->isVisible())
                                   area |= w->frameGeometry();
                           area = area.adjusted(-8, -8, 8, 8) & shown->screen()->geometry();
                           const QPixmap shot = shown->screen()->grabWindow(0, area.x(), area.y(),
                                                                            area.width(), area.height());
                           status = shot.save(out) ? 0 : 1;
                           QApplication::exit(status);
                       });
    QApplication::exec();
    return status;
}
