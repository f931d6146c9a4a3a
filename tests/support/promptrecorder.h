#ifndef PROMPTRECORDER_H
#define PROMPTRECORDER_H

#include "widgets/prompt.h"

#include <functional>

// Stands in for the person at the boxes while it lives: every request is kept and answered with `reply`.
class PromptRecorder
{
public:
    PromptRecorder();
    ~PromptRecorder();
    PromptRecorder(const PromptRecorder &) = delete;
    PromptRecorder &operator=(const PromptRecorder &) = delete;

    // "title: text" of every request, oldest first.
    QStringList texts() const;
    const Prompt::Request &last() const { return requests.last(); }
    int size() const { return requests.size(); }
    bool isEmpty() const { return requests.isEmpty(); }
    void clear() { requests.clear(); }

    QList<Prompt::Request> requests;
    Prompt::Reply reply;
    // Runs while a box is up, as the events a real dialog lets through would.
    std::function<void(const Prompt::Request &)> whileShown;
};

#endif // PROMPTRECORDER_H
