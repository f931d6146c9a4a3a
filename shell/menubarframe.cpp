#include "shell/menubarframe.h"
#include "ui_menubarframe.h"

#include <QPushButton>

MenuBarFrame::MenuBarFrame(QWidget *parent)
    : QFrame(parent)
    , ui(new Ui::MenuBarFrame)
{
    ui->setupUi(this);
    // Each button carries its menu id in the "menuID" property of the form.
    const auto buttons = findChildren<QPushButton *>();
    for (QPushButton *button : buttons) {
        const int id = button->property("menuID").toInt();
        connect(button, &QPushButton::clicked, this, [this, id] { emit menuClicked(id); });
    }
}

MenuBarFrame::~MenuBarFrame()
{
    delete ui;
}

void MenuBarFrame::onDeviceChanged(DeviceEnum devType)
{
    Q_UNUSED(devType)
}

void MenuBarFrame::onSearchFinish()
{
}
