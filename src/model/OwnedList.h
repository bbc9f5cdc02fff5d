#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <vector>

// Index-based changes to the model's owning lists (objects of a page, pages,
// pictures), so that any change can be put back exactly where it was. An
// index past the end means the end; taking or moving from past the end does
// nothing.
namespace OwnedList
{

template <typename T>
T* InsertAt(std::vector<std::unique_ptr<T>>& list, size_t index, std::unique_ptr<T> item)
{
    T* raw = item.get();
    if (raw == nullptr)
        return nullptr;
    index = std::min(index, list.size());
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(index), std::move(item));
    return raw;
}

template <typename T> std::unique_ptr<T> TakeAt(std::vector<std::unique_ptr<T>>& list, size_t index)
{
    if (index >= list.size())
        return nullptr;
    std::unique_ptr<T> taken = std::move(list[index]);
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(index));
    return taken;
}

// The item at `from` ends up at `to`; those between close up.
template <typename T> bool MoveAt(std::vector<std::unique_ptr<T>>& list, size_t from, size_t to)
{
    if (from >= list.size())
        return false;
    to = std::min(to, list.size() - 1);
    const auto first = list.begin();
    if (from < to)
        std::rotate(first + static_cast<std::ptrdiff_t>(from), first + static_cast<std::ptrdiff_t>(from) + 1,
                    first + static_cast<std::ptrdiff_t>(to) + 1);
    else if (to < from)
        std::rotate(first + static_cast<std::ptrdiff_t>(to), first + static_cast<std::ptrdiff_t>(from),
                    first + static_cast<std::ptrdiff_t>(from) + 1);
    return true;
}

// Puts item in the place of the one at index and hands that one back; null
// (and the list unchanged) when index is past the end or item is null.
template <typename T>
std::unique_ptr<T> ReplaceAt(std::vector<std::unique_ptr<T>>& list, size_t index, std::unique_ptr<T> item)
{
    if (index >= list.size() || item == nullptr)
        return nullptr;
    std::swap(list[index], item);
    return item;
}

} // namespace OwnedList
