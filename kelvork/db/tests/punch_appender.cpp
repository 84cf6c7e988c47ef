// Appends punches to a database the way a terminal-collection program does, for the test of
// several programs writing at once: one short transaction per batch, retried while the database
// is busy. Usage: db_punch_appender CONNECTION USERID COUNT [BATCH]
// Prints "appended N" and exits 0 when every punch is in; 1 with the error otherwise.
#include "database.h"

#include <QDateTime>
#include <QThread>

#include <cstdio>

using namespace kelvork;

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: db_punch_appender CONNECTION USERID COUNT [BATCH]\n");
        return 2;
    }
    const QString connection = QString::fromLocal8Bit(argv[1]);
    const QString userid = QString::fromLocal8Bit(argv[2]);
    const int count = QString::fromLocal8Bit(argv[3]).toInt();
    const int batch = argc > 4 ? QString::fromLocal8Bit(argv[4]).toInt() : 10;
    Database db;
    if (DbStatus st = db.open(connection); !st.ok()) {
        std::fprintf(stderr, "%s\n", qPrintable(st.message()));
        return 1;
    }
    const QDateTime start(QDate(2004, 1, 1), QTime(0, 0));
    int done = 0;
    int attempts = 0;
    while (done < count) {
        const int n = std::min(batch, count - done);
        Transaction tx(db);
        DbStatus st = tx.ok() ? DbStatus::success() : tx.commit();
        for (int i = 0; i < n && st.ok(); ++i)
            st = db.exec("insert into Checkinout (Userid, Checktime, Checktype, Sensorid) values (:Userid, :Checktime, 'I', '1')",
                         {{"Userid", userid}, {"Checktime", start.addSecs(60LL * (done + i))}});
        if (st.ok()) st = tx.commit();
        if (st.ok()) {
            done += n;
            attempts = 0;
            continue;
        }
        tx.rollback();
        if (++attempts > 50) {
            std::fprintf(stderr, "%s\n", qPrintable(st.message()));
            return 1;
        }
        QThread::msleep(20);
    }
    std::printf("appended %d\n", done);
    return 0;
}
