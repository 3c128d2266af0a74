#include "platform/gl/RenderContext.h"

#include <pthread.h>

#include <atomic>
#include <mutex>

namespace {

// The thread slot exists while at least one record is alive.  The counter
// changes atomically; the mutex only keeps a create on one thread from
// racing a slot release on another.
std::atomic<int> liveRecords{0};
std::mutex slotMutex;
pthread_key_t slotKey;
bool slotAllocated = false;
std::atomic<uint64_t> nextSerial{1};

}  // namespace

void ReportShaderError(ShaderContext* context, ShaderError error, void*)
{
    const std::string caption = std::string("CG error: ") + ShaderErrorString(error);
    const bool hasListing = context != nullptr && !context->LastListing().empty();
    ReportMessage(caption, hasListing ? context->LastListing() : std::string("NULL"));
}

bool InstallRenderContext(std::unique_ptr<RenderContext> record)
{
    if (!record || CurrentRenderContext() != nullptr)
        return false;
    record->serial = nextSerial.fetch_add(1);
    std::lock_guard lock(slotMutex);
    if (liveRecords.fetch_add(1) + 1 == 1 && !slotAllocated) {
        if (pthread_key_create(&slotKey, nullptr) != 0) {
            liveRecords.fetch_sub(1);
            return false;
        }
        slotAllocated = true;
    }
    pthread_setspecific(slotKey, record.release());
    return true;
}

RenderContext* CurrentRenderContext()
{
    if (liveRecords.load() == 0)
        return nullptr;
    std::lock_guard lock(slotMutex);
    return slotAllocated ? static_cast<RenderContext*>(pthread_getspecific(slotKey)) : nullptr;
}

uint64_t CurrentRenderContextSerial()
{
    RenderContext* record = CurrentRenderContext();
    return record ? record->serial : 0;
}

void DestroyRenderContext()
{
    RenderContext* record = CurrentRenderContext();
    if (record == nullptr)
        return;
    record->shaderContext.reset();
    if (record->drawable)
        record->drawable->DoneCurrent();
    record->drawable.reset();
    delete record;

    std::lock_guard lock(slotMutex);
    pthread_setspecific(slotKey, nullptr);
    if (liveRecords.fetch_sub(1) - 1 == 0 && slotAllocated) {
        pthread_key_delete(slotKey);
        slotAllocated = false;
    }
}

ShaderContext* CurrentShaderContext()
{
    RenderContext* record = CurrentRenderContext();
    return record ? record->shaderContext.get() : nullptr;
}

ShaderProfile CurrentFragmentProfile()
{
    RenderContext* record = CurrentRenderContext();
    return record ? record->fragmentProfile : kProfileUnknown;
}

void PresentFrame()
{
    RenderContext* record = CurrentRenderContext();
    if (record && record->drawable)
        record->drawable->Present();
}

int LiveRenderContextCount() { return liveRecords.load(); }

bool RenderContextSlotAllocated()
{
    std::lock_guard lock(slotMutex);
    return slotAllocated;
}
