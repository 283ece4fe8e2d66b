// SPDX-License-Identifier: MIT
// The heap made ready for a start in one call.
//
// A start touches a few megabytes of fresh heap: the toolkit's objects, the
// window's picture, the read buffer, the table, the grabbed image. Each page
// touched for the first time costs a page fault, and under some hypervisors a
// fault costs ten microseconds and more, where asking the kernel for the same
// pages in one call costs well under one each. So the heap is grown once by
// `bytes` and its pages are made present together.
//
// To keep that memory in use, blocks up to 16 MiB come from the heap rather
// than from mappings of their own (which are unmapped when freed and faulted
// in anew when the next block of that size is made), and up to 32 MiB free at
// the heap's top stay with the process. The C library's own adaptive limits
// rise that far and further (to 32 and 64 MiB) as large blocks are freed;
// fixed from the start, they keep the heap made ready from being given back
// at the first free.
//
// Does nothing where the C library or the kernel has no such controls.
#pragma once

#include <cstddef>

inline constexpr std::size_t kStartHeap = std::size_t(4) << 20;

void WarmUpHeap(std::size_t bytes);
