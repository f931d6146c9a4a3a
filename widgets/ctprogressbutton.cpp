#include "widgets/ctprogressbutton.h"

#include <QMouseEvent>

CTProgressButton::CTProgressButton(QWidget *parent)
    : QProgressBar(parent)
{
    setTextVisible(true);
    setAlignment(Qt::AlignCenter);
    setStyleSheet(QStringLiteral(
        "QProgressBar { border: 1px solid #8c9bab; border-radius: 6px; background-color: #eef2f6;"
        " color: #1f2d3d; text-align: center; }"
        "QProgressBar::chunk { border-radius: 5px; background-color: #4a90d9; }"));
}

void CTProgressButton::mousePressEvent(QMouseEvent *event)
{
    // Accepted here so that the press does not reach the parent as an unhandled click.
    event->accept();
    emit pressed();
}
