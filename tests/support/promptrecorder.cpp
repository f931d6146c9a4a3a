#include "support/promptrecorder.h"

PromptRecorder::PromptRecorder()
{
    Prompt::setHandler([this](const Prompt::Request &r) {
        requests << r;
        if (whileShown)
            whileShown(r);
        return reply;
    });
}

PromptRecorder::~PromptRecorder()
{
    Prompt::setHandler(nullptr);
}

QStringList PromptRecorder::texts() const
{
    QStringList list;
    for (const Prompt::Request &r : requests)
        list << r.title + QStringLiteral(": ") + r.text;
    return list;
}
