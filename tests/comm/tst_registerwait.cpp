#include "comm/comsettingsframe.h"
#include "comm/registerwait.h"
#include "support/devsimlink.h"
#include "support/testdatabase.h"

#include <QtTest>

using R = RegisterWait::Result;

// The shared register wait against the simulated device, which answers slave 1 only.
class TestRegisterWait : public QObject
{
    Q_OBJECT
    TestDatabase m_db;
    DevsimLink *m_link = nullptr;

    static R waitFor(RegisterWait &wait, int ms = 5000)
    {
        R result = wait.check();
        (void)QTest::qWaitFor([&] { return (result = wait.check()) != R::Pending; }, ms);
        return result;
    }

private slots:
    void initTestCase()
    {
        m_link = new DevsimLink;
        QVERIFY(m_link->start({ "--set", "3200=7", "--set", "3201=9" }, 1, DevsimLink::NoCheck));
    }
    void cleanupTestCase() { delete m_link; }

    void readAndWrite()
    {
        RegisterWait wait;
        QCOMPARE(wait.check(), R::Idle);        // nothing asked yet
        QVERIFY(wait.startRead(1, 3200, 2));
        QCOMPARE(wait.check(), R::Pending);
        QCOMPARE(waitFor(wait), R::Received);
        QCOMPARE(wait.check(), R::Received);   // stays so until the next start
        QCOMPARE(QList<Uint16>({ wait.value(0), wait.value(1) }), QList<Uint16>({ 7, 9 }));
        QVERIFY(wait.startWrite(1, 3200, 11) && waitFor(wait) == R::Received);
        QVERIFY(wait.startRead(1, 3200) && waitFor(wait) == R::Received);
        QCOMPARE(wait.value(), Uint16(11));
        QVERIFY(!wait.startRead(255, 3200));    // refused, and nothing left pending
        QCOMPARE(wait.check(), R::Idle);
    }

    // A read of the same register answered first says nothing of the write: the wait ends only once
    // the device has the write, so a caller that closes the link then has not lost it.
    void writeNotEndedByARead()
    {
        RegisterWait read, write;
        m_link->sim().clearLog();
        QVERIFY(read.startRead(1, 3210));
        QVERIFY(write.startWrite(1, 3210, 42));
        const QString written = QStringLiteral("slave=1 fc=6 addr=3210 value=42");
        bool early = false;
        QVERIFY(QTest::qWaitFor([&] {
            if (write.check() == R::Pending)
                return false;
            early = !m_link->sim().logLines().contains(written);
            return true;
        }, 5000));
        QVERIFY(!early);
        QCOMPARE(write.check(), R::Received);
        QCOMPARE(read.check(), R::Received);
        // A write of another value to the register does not end it either.
        RegisterWait second;
        QVERIFY(write.startWrite(1, 3210, 43) && second.startWrite(1, 3210, 44));
        QCOMPARE(waitFor(write), R::Received);
        QVERIFY(second.check() == R::Pending || m_link->sim().logLines().contains(QStringLiteral("slave=1 fc=6 addr=3210 value=44")));
        QCOMPARE(waitFor(second), R::Received);
        QCOMPARE(second.value(), Uint16(44));
    }

    void failures()
    {
        // An error reported for the block ends the wait before its bound.
        RegisterWait failing;
        QVERIFY(failing.startRead(9, 3200, 2, 60000));
        QCOMPARE(waitFor(failing, 10000), R::Failed);
        QVERIFY(!failing.timedOut());
        // An error for the second word of a block ends it too; one for another slave does not.
        RegisterWait block;
        QVERIFY(block.startRead(1, 3200, 2, 60000));
        QMetaObject::invokeMethod(m_link->frame(), "modbusComError", Q_ARG(int, 2), Q_ARG(int, 3201));
        QVERIFY(block.check() != R::Failed);
        QCOMPARE(waitFor(block), R::Received);
        QVERIFY(block.startRead(1, 3300, 2, 60000));
        QMetaObject::invokeMethod(m_link->frame(), "modbusComError", Q_ARG(int, 1), Q_ARG(int, 3301));
        QCOMPARE(block.check(), R::Failed);
        QVERIFY(block.startRead(1, 3300, 2));   // the failure recorded before it does not end a new wait
        QCOMPARE(waitFor(block), R::Received);
        // No answer within the bound: failed, and said to be a time-out.
        QVERIFY(failing.startRead(9, 3200, 1, 50));
        QCOMPARE(waitFor(failing), R::Failed);
        QVERIFY(failing.timedOut());
    }
};

QTEST_MAIN(TestRegisterWait)
#include "tst_registerwait.moc"
