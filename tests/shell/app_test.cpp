#include "pellixapp.h"
#include "zuncalc.h"

#include <QCoreApplication>
#include <QEvent>

#include <gtest/gtest.h>

#include <string>

using namespace pellix;

namespace {

// An object whose event handler fails with a calculator fault.
class Faulty : public QObject {
public:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User) {
            throw EInvalidOp();
        }
        return QObject::event(e);
    }
};

TEST(FaultHandler, NotifyCatchesWhatEscapesAnEventHandler) {
    auto* app = dynamic_cast<TPellixApplication*>(QCoreApplication::instance());
    ASSERT_NE(app, nullptr);
    std::string reported;
    app->SetFaultHandler([&](std::string_view message) { reported = message; });
    Faulty faulty;
    QEvent e(QEvent::User);
    EXPECT_TRUE(QCoreApplication::sendEvent(&faulty, &e));
    EXPECT_EQ(reported, "Ung\u00fcltige Gleitkommaoperation");
    app->SetFaultHandler(nullptr);
    EXPECT_NO_THROW(QCoreApplication::sendEvent(&faulty, &e)) << "no handler: still caught";
}

} // namespace
