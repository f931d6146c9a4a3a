#include "widgets/cmenubutton.h"

#include <QMenu>

CMenuButton::CMenuButton(QWidget *parent)
    : QPushButton(parent)
    , m_menu(new QMenu(this))
{
    connect(this, &QPushButton::clicked, this, &CMenuButton::popUpMenu);
}

QPoint CMenuButton::popupPosition(const QRect &buttonGlobalRect, const QSize &menuSize, int mode)
{
    const int left = buttonGlobalRect.x();
    const int rightAligned = buttonGlobalRect.x() + buttonGlobalRect.width() - menuSize.width();
    const int above = buttonGlobalRect.y() - menuSize.height();
    const int below = buttonGlobalRect.y() + buttonGlobalRect.height();
    switch (mode) {
    case AboveLeftAligned: return QPoint(left, above);
    case AboveRightAligned: return QPoint(rightAligned, above);
    case BelowRightAligned: return QPoint(rightAligned, below);
    case BelowLeftAligned:
    default: return QPoint(left, below);
    }
}

void CMenuButton::popUpMenu()
{
    const QRect buttonRect(mapToGlobal(QPoint(0, 0)), size());
    // QMenu::exec keeps the menu on screen if the chosen place is off it.
    m_menu->exec(popupPosition(buttonRect, m_menu->sizeHint(), m_popupMode));
}
