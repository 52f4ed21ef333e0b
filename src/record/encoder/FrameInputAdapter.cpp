#include "record/encoder/FrameInputAdapter.h"

#include <atomic>
#include <map>

void FrameSource::set(std::function<QImage()> readPicture)
{
    std::lock_guard lock(mutex_);
    readPicture_ = std::move(readPicture);
}

QImage FrameSource::read() const
{
    std::lock_guard lock(mutex_);
    return readPicture_ ? readPicture_() : QImage();
}

namespace {

// Every adapter of the process by identity, so a task can find its input
// from the input file name alone.
struct AdapterRegistry
{
    std::mutex mutex;
    std::map<quint64, std::weak_ptr<FrameSource>> sources;
};

AdapterRegistry &registry()
{
    static AdapterRegistry instance;
    return instance;
}

quint64 nextIdentity()
{
    static std::atomic<quint64> lastIdentity{0};
    return ++lastIdentity;
}

} // namespace

FrameInputAdapter::FrameInputAdapter(QObject *parent)
    : QObject(parent), identity_(nextIdentity()), source_(std::make_shared<FrameSource>())
{
    std::lock_guard lock(registry().mutex);
    registry().sources[identity_] = source_;
}

FrameInputAdapter::~FrameInputAdapter()
{
    {
        std::lock_guard lock(registry().mutex);
        registry().sources.erase(identity_);
    }
    // A task still running records black from now on instead of calling
    // into whatever the function refers to.
    source_->set(nullptr);
}

void FrameInputAdapter::setFrameSource(std::function<QImage()> readPicture)
{
    source_->set(std::move(readPicture));
}

std::shared_ptr<FrameSource> FrameInputAdapter::findSource(const QString &inputFileName)
{
    bool isNumber = false;
    const quint64 identity = inputFileName.trimmed().toULongLong(&isNumber);
    if (!isNumber)
        return nullptr;
    std::lock_guard lock(registry().mutex);
    const auto found = registry().sources.find(identity);
    return found == registry().sources.end() ? nullptr : found->second.lock();
}
