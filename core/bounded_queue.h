#pragma once
// Producers hand items to one consumer through a queue bounded by their weight in bytes.
// Each side wakes the other only when it waits, and producers held back by a full queue
// resume only once half of it is taken, so that most items pass without a system call.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>
#include <utility>

namespace pixmorph {

template <class T> class BoundedQueue {
public:
    explicit BoundedQueue(std::size_t mostBytes) : mostBytes_(mostBytes) {}

    // Waits for room, then queues the item. An item heavier than the bound passes alone.
    // False, with the item dropped, once the queue is cancelled.
    bool push(T item, std::size_t bytes) {
        std::unique_lock lock(mutex_);
        if (!hasRoomFor(bytes)) {
            ++producersWaiting_;
            room_.wait(lock, [&] { return cancelled_ || hasRoomFor(bytes); });
            --producersWaiting_;
        }
        if (cancelled_)
            return false;
        items_.push_back({std::move(item), bytes});
        bytes_ += bytes;
        if (consumerWaits_)
            itemsReady_.notify_one();
        return true;
    }

    // The next item; nullopt once the queue is closed and empty, or cancelled.
    std::optional<T> pop() {
        std::unique_lock lock(mutex_);
        if (items_.empty() && !closed_ && !cancelled_) {
            consumerWaits_ = true;
            itemsReady_.wait(lock, [&] { return !items_.empty() || closed_ || cancelled_; });
            consumerWaits_ = false;
        }
        if (cancelled_ || items_.empty())
            return std::nullopt;
        Entry entry = std::move(items_.front());
        items_.pop_front();
        bytes_ -= entry.bytes;
        if (producersWaiting_ > 0 && bytes_ <= mostBytes_ / 2)
            room_.notify_all();
        return std::move(entry.item);
    }

    // The producer is done: the consumer takes what is queued, then gets nullopt.
    void close() { endWith(closed_); }
    // Either side gives up: what is queued is dropped and both sides return at once.
    void cancel() { endWith(cancelled_); }

private:
    struct Entry {
        T item;
        std::size_t bytes;
    };

    bool hasRoomFor(std::size_t bytes) const {
        return bytes_ == 0 || (bytes_ <= mostBytes_ / 2 && bytes_ + bytes <= mostBytes_);
    }
    void endWith(bool& flag) {
        std::lock_guard lock(mutex_);
        flag = true;
        if (cancelled_) {
            items_.clear();
            bytes_ = 0;
        }
        itemsReady_.notify_all();
        room_.notify_all();
    }

    const std::size_t mostBytes_;
    std::mutex mutex_;
    std::condition_variable itemsReady_;
    std::condition_variable room_;
    std::deque<Entry> items_;
    std::size_t bytes_ = 0;
    int producersWaiting_ = 0;
    bool consumerWaits_ = false;
    bool closed_ = false;
    bool cancelled_ = false;
};

} // namespace pixmorph
