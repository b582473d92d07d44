#pragma once
// The one dispatch mechanism of the windows: each window (and the application) keeps a table of
// handlers registered in its constructor, looked up by command id, by control id and notify code,
// and by private message number. Lookup is a hash probe, so a window never needs a switch.
#include <functional>
#include <unordered_map>
#include <vector>

#include "platform/gui/Command.h"
#include "platform/gui/WindowMessages.h"

namespace vyn {

class TDispatchTable {
public:
    using CommandHandler = std::function<void()>;
    using EnableHandler = std::function<void(TCommandEnabler&)>;
    using MessageHandler = std::function<TResult(TParam1, TParam2)>;

    void AddCommand(unsigned id, CommandHandler h) { commands_[id] = std::move(h); }
    void AddNotify(unsigned id, unsigned code, CommandHandler h) { notifies_[Key(id, code)] = std::move(h); }
    void AddEnabler(unsigned id, EnableHandler h) { enablers_[id] = std::move(h); }
    void AddMessage(unsigned msg, MessageHandler h) { messages_[msg] = std::move(h); }

    const CommandHandler* FindCommand(unsigned id) const { return Find(commands_, id); }
    const CommandHandler* FindNotify(unsigned id, unsigned code) const { return Find(notifies_, Key(id, code)); }
    const EnableHandler* FindEnabler(unsigned id) const { return Find(enablers_, id); }
    const MessageHandler* FindMessage(unsigned msg) const { return Find(messages_, msg); }
    // The command ids that have a handler, in no order.
    std::vector<unsigned> CommandIds() const
    {
        std::vector<unsigned> ids;
        for (const auto& [id, h] : commands_) ids.push_back(id);
        return ids;
    }

private:
    static unsigned long long Key(unsigned id, unsigned code) { return (static_cast<unsigned long long>(code) << 32) | id; }
    template <class M, class K>
    static const typename M::mapped_type* Find(const M& m, K k)
    {
        auto it = m.find(k);
        return it == m.end() ? nullptr : &it->second;
    }

    std::unordered_map<unsigned, CommandHandler> commands_;
    std::unordered_map<unsigned long long, CommandHandler> notifies_;
    std::unordered_map<unsigned, EnableHandler> enablers_;
    std::unordered_map<unsigned, MessageHandler> messages_;
};

}  // namespace vyn
