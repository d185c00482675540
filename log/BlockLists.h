#pragma once
// Lists of items by key, filled and emptied again and again: their items lie in blocks from one
// pool that is kept from one filling to the next, so that memory follows the items of the
// fullest filling, not the sum of each list's longest.

#include <array>
#include <cstddef>
#include <memory>
#include <vector>

template <typename T, std::size_t BlockItems = 256> class TBlockLists {
public:
    explicit TBlockLists(std::size_t keys) : Lists(keys) {}

    void Push(std::size_t key, const T& item) {
        TList& list = Lists[key];
        if (list.Last == nullptr || list.Last->Count == BlockItems) {
            TBlock* block = TakeBlock();
            (list.Last != nullptr ? list.Last->Next : list.First) = block;
            list.Last = block;
            if (list.Size == 0) {
                Filled.push_back(key);
            }
        }
        list.Last->Items[list.Last->Count++] = item;
        ++list.Size;
    }

    std::size_t Size(std::size_t key) const { return Lists[key].Size; }

    // Calls visit(item) for the key's items in the order they were pushed.
    template <typename TVisit> void ForEach(std::size_t key, TVisit visit) const {
        for (const TBlock* block = Lists[key].First; block != nullptr; block = block->Next) {
            for (std::size_t k = 0; k < block->Count; ++k) {
                visit(block->Items[k]);
            }
        }
    }

    // The keys that have items, in the order their first item came.
    const std::vector<std::size_t>& Keys() const { return Filled; }

    // Empties every list; the blocks stay for the next filling.
    void Clear() {
        for (const std::size_t key : Filled) {
            Lists[key] = {};
        }
        Filled.clear();
        Used = 0;
    }

private:
    struct TBlock {
        std::array<T, BlockItems> Items;
        std::size_t Count = 0;
        TBlock* Next = nullptr;
    };
    struct TList {
        TBlock* First = nullptr;
        TBlock* Last = nullptr;
        std::size_t Size = 0;
    };

    TBlock* TakeBlock() {
        if (Used == Pool.size()) {
            Pool.push_back(std::make_unique<TBlock>());
        }
        TBlock* block = Pool[Used++].get();
        block->Count = 0;
        block->Next = nullptr;
        return block;
    }

    std::vector<TList> Lists;
    std::vector<std::unique_ptr<TBlock>> Pool;
    std::size_t Used = 0; // blocks of the pool in use
    std::vector<std::size_t> Filled;
};
