// Events with owned connections: the data sets' events (and any other event
// the layers above offer) keep a list of subscribers.
//
//   engine::Subscription s = table.afterOpen.subscribe([this](engine::DataSet &ds) { ... });
//
// Subscribing returns a handle; when the handle is destroyed (or reset) the
// subscriber is gone, so an object that keeps its handles as members can
// never be called after its death. An event may have several subscribers;
// they are called in the order they subscribed. A subscriber that
// unsubscribes itself or a later one while the event runs is not called
// (again); one that subscribes while the event runs is first called the next
// time. The event may die before its handles: they then do nothing.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace engine {

namespace detail {
struct SlotList {
    virtual ~SlotList() = default;
    virtual void remove(std::uint64_t id) = 0;
};
} // namespace detail

class Subscription {
public:
    Subscription() = default;
    Subscription(std::weak_ptr<detail::SlotList> list, std::uint64_t id)
        : m_list(std::move(list)), m_id(id) {}
    Subscription(Subscription &&o) noexcept : m_list(std::move(o.m_list)), m_id(o.m_id) { o.m_id = 0; }
    Subscription &operator=(Subscription &&o) noexcept
    {
        if (this != &o) {
            reset();
            m_list = std::move(o.m_list);
            m_id = o.m_id;
            o.m_id = 0;
        }
        return *this;
    }
    Subscription(const Subscription &) = delete;
    Subscription &operator=(const Subscription &) = delete;
    ~Subscription() { reset(); }

    // Unsubscribes now; afterwards the handle is empty.
    void reset()
    {
        if (auto list = m_list.lock())
            list->remove(m_id);
        m_list.reset();
        m_id = 0;
    }
    // Subscribed to an event that still exists.
    bool connected() const { return m_id != 0 && !m_list.expired(); }

private:
    std::weak_ptr<detail::SlotList> m_list;
    std::uint64_t m_id = 0;
};

// The handles an owner keeps for all it subscribed to; clear() drops them.
using Subscriptions = std::vector<Subscription>;

template<typename... Args>
class Signal {
public:
    using Slot = std::function<void(Args...)>;

    Signal() = default;
    Signal(const Signal &) = delete;
    Signal &operator=(const Signal &) = delete;

    [[nodiscard]] Subscription subscribe(Slot slot)
    {
        auto entry = std::make_shared<Entry>();
        entry->id = m_list->nextId++;
        entry->slot = std::move(slot);
        m_list->entries.push_back(entry);
        return Subscription(m_list, entry->id);
    }

    // Any subscriber at all.
    explicit operator bool() const { return !m_list->entries.empty(); }
    int subscriberCount() const { return int(m_list->entries.size()); }

    // Calls the subscribers in their order. An exception of one ends the
    // round and goes to the caller (a Before event's abort).
    void operator()(Args... args) const
    {
        auto &entries = m_list->entries;
        if (entries.empty())
            return;
        if (entries.size() == 1) {
            const std::shared_ptr<Entry> only = entries.front(); // alive through its own reset
            only->slot(args...);
            return;
        }
        const std::vector<std::shared_ptr<Entry>> round = entries;
        for (const auto &e : round)
            if (e->alive)
                e->slot(args...);
    }

private:
    struct Entry {
        std::uint64_t id = 0;
        bool alive = true;
        Slot slot;
    };
    struct List : detail::SlotList {
        std::vector<std::shared_ptr<Entry>> entries;
        std::uint64_t nextId = 1;
        void remove(std::uint64_t id) override
        {
            auto it = std::find_if(entries.begin(), entries.end(),
                                   [id](const std::shared_ptr<Entry> &e) { return e->id == id; });
            if (it == entries.end())
                return;
            (*it)->alive = false;
            entries.erase(it);
        }
    };
    std::shared_ptr<List> m_list = std::make_shared<List>();
};

} // namespace engine
