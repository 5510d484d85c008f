// The command-line tool's heap, marked for transparent huge pages.
//
// pelk-cli reads a whole model into fresh memory, estimates and exits. Every
// fresh 4 KiB page costs a page fault, a microsecond on bare hardware and
// ten or more on a virtual machine, and a model of a thousand categories
// with its summary touches hundreds of them. With glibc on Linux the heap is
// grown once by a reserve whose 2 MiB pages are marked for huge pages, and
// the first block after the reserve's start is made to begin on such a
// page: where the system has huge pages, the run then takes its memory in a
// few faults. Anywhere else, or when the heap does not grow as expected,
// nothing changes but the reserve. Only for a process that exits soon: the
// heap keeps the reserve for as long as it lives.
#pragma once

namespace HugePageHeap {

// Called first thing in main, before the heap holds much.
void prepare();

} // namespace HugePageHeap
