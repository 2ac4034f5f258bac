// Throughput of the object core: creating objects, keeping lists sorted, looking objects up by ID
// and deep-copying a list, at growing sizes.
#include "model/NodeList.h"
#include "model/ObjectTree.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

struct Document {
    CZRObjectTable table;
    ZRCreateContext context{table, table};
};

CZRNodeList* makeList(Document& doc, std::int64_t elements) {
    CZRNodeList* list = kor::createObject<CZRNodeList>(doc.context, ZR_NO_OBJ_ID);
    for (std::int64_t i = 0; i < elements; ++i)
        (void)list->append(kor::createObject<CZRNodeList>(doc.context, ZR_NO_OBJ_ID));
    return list;
}

void BM_CreateAndRegister(benchmark::State& state) {
    for (auto _ : state) {
        Document doc;
        for (std::int64_t i = 0; i < state.range(0); ++i)
            benchmark::DoNotOptimize(kor::createObject<CZRNodeList>(doc.context, ZR_NO_OBJ_ID));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_CreateAndRegister)->Arg(1000)->Arg(10000)->Arg(100000);

void BM_LookupByID(benchmark::State& state) {
    Document doc;
    makeList(doc, state.range(0));
    std::mt19937 random(42);
    std::uniform_int_distribution<std::uint32_t> id(0, static_cast<std::uint32_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(doc.table.lookup(id(random)));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LookupByID)->Arg(1000)->Arg(10000)->Arg(100000);

void BM_DeepCopyKeepingIDs(benchmark::State& state) {
    Document source;
    CZRNodeList* list = makeList(source, state.range(0));
    for (auto _ : state) {
        Document buffer;
        CZRNodeList* copy = kor::createObject<CZRNodeList>(buffer.context, list->getObjID());
        benchmark::DoNotOptimize(
            copy->copyFrom(list, ZR_COPY_DEEP | ZR_COPY_KEEP_IDS, &buffer.context));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_DeepCopyKeepingIDs)->Arg(1000)->Arg(10000)->Arg(100000);

void BM_DestroySubtree(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        Document doc;
        const std::uint32_t id = makeList(doc, state.range(0))->getObjID();
        state.ResumeTiming();
        doc.table.destroy(id);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_DestroySubtree)->Arg(1000)->Arg(10000)->Arg(100000);

} // namespace

BENCHMARK_MAIN();
