#pragma once
// Memory for the move lists of a project. A large file holds gigabytes of moves, and filling
// fresh memory page by page costs more than reading the file: the arena takes memory in huge
// pages and lets the kernel fill it in bulk a little ahead of use, never far ahead, so the
// program holds hardly more than the moves themselves. Freed lists are not reused; everything
// goes at once when the project goes.

#include <cstddef>
#include <memory_resource>
#include <vector>

class TMoveArena final : public std::pmr::memory_resource {
public:
    TMoveArena() = default;
    ~TMoveArena() override { Release(); }
    TMoveArena(const TMoveArena&) = delete;
    TMoveArena& operator=(const TMoveArena&) = delete;

    void Release();

private:
    struct TBlock {
        char* Start;
        std::size_t Size;
    };

    void* do_allocate(std::size_t bytes, std::size_t alignment) override;
    void do_deallocate(void*, std::size_t, std::size_t) override {}
    bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override {
        return this == &other;
    }

    void NewBlock(std::size_t atLeast);
    void PopulateUpTo(char* end);

    std::vector<TBlock> Blocks;
    char* Next = nullptr;      // first free byte of the current block
    char* Populated = nullptr; // memory below this in the current block is already filled in
    char* BlockEnd = nullptr;
};
