#pragma once

#include "Layout.h"
#include "ScriptedUiServices.h"

#include <functional>
#include <memory>
#include <vector>

class QWidget;

// What a scene may use: a sample layout, scripted answers for the dialogs it
// opens on the way, and a place to keep the windows it shows.
class CShotStage
{
public:
    CShotStage();
    ~CShotStage();

    // A layout with a few pages and an added picture.
    TLayout layout;
    CScriptedUiServices ui;
    // Windows the scene made; destroyed with the stage.
    std::vector<std::unique_ptr<QWidget>> windows;

    // Shows a window centred on the screen and keeps it.
    QWidget* Show(std::unique_ptr<QWidget> window);

private:
    std::unique_ptr<CUiServicesOverride> m_use;
};

struct TShotScene
{
    const char* name;
    // Opens the scene; returns the window around which the picture is taken.
    std::function<QWidget*(CShotStage&)> open;
};

const std::vector<TShotScene>& ShotScenes();
