#include "support/FakeCaptureBackend.h"
#include "monitor/capture/FrameMailbox.h"

#include <QSignalSpy>
#include <QTest>

#include <atomic>
#include <thread>

namespace {

CapturedFrame frameNumber(quint64 sequence)
{
    CapturedFrame frame;
    frame.sequence = sequence;
    return frame;
}

} // namespace

class FrameMailboxTest : public QObject
{
    Q_OBJECT

private slots:
    void notifiesOnlyWhenTheSlotFills();
    void slowConsumerGetsNewestFramesAndDropsAreCounted();
};

void FrameMailboxTest::notifiesOnlyWhenTheSlotFills()
{
    int notifications = 0;
    FrameMailbox mailbox([&] { ++notifications; });

    QVERIFY(!mailbox.take().has_value());
    mailbox.post(frameNumber(1));
    mailbox.post(frameNumber(2));
    mailbox.post(frameNumber(3));
    QCOMPARE(notifications, 1);
    QCOMPARE(mailbox.take()->sequence, quint64(3));
    QCOMPARE(mailbox.droppedFrameCount(), quint64(2));
    QVERIFY(!mailbox.take().has_value());

    mailbox.post(frameNumber(4));
    QCOMPARE(notifications, 2);
    QCOMPARE(mailbox.take()->sequence, quint64(4));
    QCOMPARE(mailbox.droppedFrameCount(), quint64(2));
}

// A producer thread far faster than the GUI thread: each notice must find a
// newer frame than the last one taken (a second queued notice would find the
// slot empty), the last frame made is the last one seen, nothing is lost
// unaccounted, and the producer is never held up by the consumer.
void FrameMailboxTest::slowConsumerGetsNewestFramesAndDropsAreCounted()
{
    FakeCaptureSession session(QSize(8, 8));
    const QImage picture(8, 8, QImage::Format_RGB32);
    constexpr quint64 framesToProduce = 3000;

    quint64 lastSequenceSeen = 0;
    quint64 framesTaken = 0;
    int emptyNotices = 0;
    bool outOfOrder = false;
    connect(&session, &CaptureSession::frameReady, this, [&] {
        const CapturedFrame frame = session.takeLatestFrame();
        if (frame.image.isNull()) {
            ++emptyNotices;
            return;
        }
        outOfOrder = outOfOrder || frame.sequence <= lastSequenceSeen;
        lastSequenceSeen = frame.sequence;
        ++framesTaken;
        QThread::msleep(2);   // a busy GUI thread
    });

    std::atomic<bool> producerDone{false};
    std::thread producer([&] {
        for (quint64 i = 0; i < framesToProduce; ++i)
            session.deliverFrame(picture);
        producerDone = true;
    });
    QTRY_VERIFY_WITH_TIMEOUT(producerDone.load(), 10000);
    producer.join();
    QTRY_COMPARE_WITH_TIMEOUT(lastSequenceSeen, framesToProduce, 5000);

    QCOMPARE(emptyNotices, 0);
    QVERIFY(!outOfOrder);
    QVERIFY(session.droppedFrameCount() > 0);
    QCOMPARE(framesTaken + session.droppedFrameCount(), framesToProduce);
}

QTEST_GUILESS_MAIN(FrameMailboxTest)
#include "FrameMailboxTest.moc"
