#include "comm/comsettingsframe.h"
#include "comm/registerwait.h"
#include "support/devsimlink.h"
#include "support/testdatabase.h"

#include <QtTest>

// The shared register wait against the simulated device, which answers slave 1 only.
class TestRegisterWait : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void readAndWrite();
    void failures();

private:
    static RegisterWait::Result waitFor(RegisterWait &wait, int ms = 5000);

    TestDatabase m_db;
    DevsimLink *m_link = nullptr;
};

void TestRegisterWait::initTestCase()
{
    m_link = new DevsimLink;
    QVERIFY(m_link->start({ "--set", "3200=7", "--set", "3201=9" }, 1, DevsimLink::NoCheck));
}

void TestRegisterWait::cleanupTestCase()
{
    delete m_link;
}

RegisterWait::Result TestRegisterWait::waitFor(RegisterWait &wait, int ms)
{
    RegisterWait::Result result = wait.check();
    static_cast<void>(QTest::qWaitFor([&] { return (result = wait.check()) != RegisterWait::Result::Pending; }, ms));
    return result;
}

void TestRegisterWait::readAndWrite()
{
    RegisterWait wait;
    QCOMPARE(wait.check(), RegisterWait::Result::Idle);
    QVERIFY(wait.startRead(1, 3200, 2));
    QCOMPARE(wait.check(), RegisterWait::Result::Pending);
    QCOMPARE(waitFor(wait), RegisterWait::Result::Received);
    QCOMPARE(wait.check(), RegisterWait::Result::Received);   // stays so until the next start
    QCOMPARE(wait.value(0), Uint16(7));
    QCOMPARE(wait.value(1), Uint16(9));

    QVERIFY(wait.startWrite(1, 3200, 11));
    QCOMPARE(waitFor(wait), RegisterWait::Result::Received);
    QVERIFY(wait.startRead(1, 3200));
    QCOMPARE(waitFor(wait), RegisterWait::Result::Received);
    QCOMPARE(wait.value(), Uint16(11));

    // Refused requests leave nothing pending.
    QVERIFY(!wait.startRead(255, 3200));
    QCOMPARE(wait.check(), RegisterWait::Result::Idle);
}

void TestRegisterWait::failures()
{
    // An error reported for the block ends the wait before its bound.
    RegisterWait failing;
    QVERIFY(failing.startRead(9, 3200, 2, 60000));
    QCOMPARE(waitFor(failing, 10000), RegisterWait::Result::Failed);
    QVERIFY(!failing.timedOut());

    // An error for the second word of a block ends it too; one for another slave does not.
    RegisterWait block;
    QVERIFY(block.startRead(1, 3200, 2, 60000));
    QMetaObject::invokeMethod(m_link->frame(), "modbusComError", Q_ARG(int, 2), Q_ARG(int, 3201));
    QVERIFY(block.check() != RegisterWait::Result::Failed);
    QCOMPARE(waitFor(block), RegisterWait::Result::Received);
    QVERIFY(block.startRead(1, 3300, 2, 60000));
    QMetaObject::invokeMethod(m_link->frame(), "modbusComError", Q_ARG(int, 1), Q_ARG(int, 3301));
    QCOMPARE(block.check(), RegisterWait::Result::Failed);

    // A failure recorded before a wait started does not end it.
    QVERIFY(block.startRead(1, 3300, 2));
    QCOMPARE(waitFor(block), RegisterWait::Result::Received);

    // No answer within the bound: failed, and said to be a time-out.
    RegisterWait slow;
    QVERIFY(slow.startRead(9, 3200, 1, 50));
    QCOMPARE(waitFor(slow), RegisterWait::Result::Failed);
    QVERIFY(slow.timedOut());
}

QTEST_MAIN(TestRegisterWait)
#include "tst_registerwait.moc"
