#include "TestMain.h"

#include <QApplication>
#include <QStringList>
#include <QTest>

#include <memory>
#include <vector>

namespace VumoTest {

namespace {
struct Entry
{
    QString name;
    Factory factory;
};
std::vector<Entry>& registry()
{
    static std::vector<Entry> entries;
    return entries;
}
} // namespace

int registerTest(const char* name, Factory factory)
{
    registry().push_back({QString::fromLatin1(name), std::move(factory)});
    return int(registry().size());
}

} // namespace VumoTest

int main(int argc, char** argv)
{
    // Suites that show web views need the shared contexts set before the application exists.
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QStringList args = app.arguments();
    QStringList only;
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args.at(i) == QLatin1String("-class")) {
            only << args.at(i + 1);
            args.removeAt(i + 1);
            args.removeAt(i);
            --i;
        }
    }
    int failures = 0;
    for (const auto& entry : VumoTest::registry()) {
        if (!only.isEmpty() && !only.contains(entry.name))
            continue;
        std::unique_ptr<QObject> test(entry.factory());
        failures += QTest::qExec(test.get(), args);
    }
    return failures == 0 ? 0 : 1;
}
