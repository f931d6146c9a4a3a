#ifndef CMENUBUTTON_H
#define CMENUBUTTON_H

#include <QPushButton>

class QMenu;

// A push button that owns a menu and pops it up with QMenu::exec when clicked, placed by the popup
// mode. QPushButton's own menu support is not used: it would draw an arrow and always open below.
class CMenuButton : public QPushButton
{
    Q_OBJECT
public:
    enum PopupMode { AboveLeftAligned = 0, BelowLeftAligned = 1, AboveRightAligned = 2, BelowRightAligned = 3 };

    explicit CMenuButton(QWidget *parent = nullptr);

    QMenu *menu() const { return m_menu; }
    void setPopupMode(int mode) { m_popupMode = mode; }
    int popupMode() const { return m_popupMode; }

    // Top-left corner of the menu for a button at buttonGlobalRect; an unknown mode opens below-left.
    static QPoint popupPosition(const QRect &buttonGlobalRect, const QSize &menuSize, int mode);

private:
    void popUpMenu();

    QMenu *m_menu;
    int m_popupMode = AboveLeftAligned;
};

#endif // CMENUBUTTON_H
