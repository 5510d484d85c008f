// One evaluation of the objective is the inner loop of every optimisation:
// it must not allocate. This executable counts every global operator new.
#include "../support/CaptureRecaptureWorkspace.h"
#include "../support/TempFiles.h"

#include "io/PelkFileReader.h"
#include "model/Workspace.h"
#include "likelihood/PelkLikelihoodFunc.h"
#include "model/MessageSink.h"
#include "model/ModelValidator.h"

#include <QTest>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> allocations{0};
}

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
// The sanitizers own the allocator; they call these hooks on every
// allocation, whatever function made it.
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*)(const volatile void *, std::size_t),
                                                         void (*)(const volatile void *));

namespace {
void onMalloc(const volatile void *, std::size_t) { ++allocations; }
void onFree(const volatile void *) {}
const int hooksInstalled = __sanitizer_install_malloc_and_free_hooks(onMalloc, onFree);
} // namespace
#else
// Every plain form is replaced, so that each delete meets its own new.
void *operator new(std::size_t size)
{
    ++allocations;
    if (void *p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void *operator new[](std::size_t size) { return operator new(size); }
void operator delete(void *p) noexcept { std::free(p); }
void operator delete[](void *p) noexcept { std::free(p); }
void operator delete(void *p, std::size_t) noexcept { std::free(p); }
void operator delete[](void *p, std::size_t) noexcept { std::free(p); }
#endif

class TestEvaluationAllocates : public QObject
{
    Q_OBJECT

private slots:
    void objectiveEvaluationAllocatesNothing()
    {
        support::TempFiles files;
        const QString path = files.write(QStringLiteral("captures.txt"), support::captureRecaptureWorkspace(5));
        pelk::Workspace workspace;
        pelk::PelkFileReader().readWorkspace(path, workspace);
        pelk::PlainTextSink sink;
        QVERIFY(pelk::validate(workspace.model, sink));
        // Reading the file allocated: the counter sees allocations.
        QVERIFY(allocations > 0);
        pelk::PelkLikelihoodFunc function(workspace.model, workspace.categoryCounts);
        std::vector<double> x{520, -0.8, -0.6, -0.4, -0.2, 0.0};
        double sum = 0;
        const long before = allocations;
        for (int i = 0; i < 1000; ++i) {
            x[1 + i % 5] += 1e-6;  // a new point each time, as an optimizer asks
            sum += function(x);
        }
        QCOMPARE(allocations - before, 0L);
        QVERIFY(std::isfinite(sum));
    }
};

QTEST_GUILESS_MAIN(TestEvaluationAllocates)
#include "tst_evaluationallocates.moc"
