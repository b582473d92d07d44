#pragma once
// Private to the platform: a message queued for a window, and the hand-shake of a send from
// another thread that waits with a time-out.
#include <QEvent>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "platform/gui/WindowMessages.h"

namespace vyn {

struct TSendState {
    enum Stage { Pending, Running, Done, Abandoned };
    std::mutex mutex;
    std::condition_variable done;
    Stage stage = Pending;
    TResult result = 0;
};

class TPostedMessage : public QEvent {
public:
    static QEvent::Type EventType()
    {
        static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }
    TPostedMessage(unsigned m, TParam1 a, TParam2 b, std::shared_ptr<TSendState> s)
        : QEvent(EventType()), msg(m), p1(a), p2(b), send(std::move(s))
    {
    }
    unsigned msg;
    TParam1 p1;
    TParam2 p2;
    std::shared_ptr<TSendState> send;  // set for a send from another thread
};

}  // namespace vyn
