#include "launcher/VersionQuerySteps.h"

#include "common/GuiHandOff.h"
#include "launcher/Tfrmprinc.h"

#include <QLabel>
#include <QThread>

namespace quorvel {

namespace {
constexpr unsigned long kTypingPauseMs = 10;
}

VersionQuerySteps::VersionQuerySteps(Tfrmprinc& frmprinc, std::shared_ptr<GuiHandOff> handOff)
    : m_frmprinc(frmprinc), m_handOff(std::move(handOff))
{}

void VersionQuerySteps::prepareAdvertisement()
{
    m_handOff->run([this] {
        QWidget* shape = m_frmprinc.findChild<QWidget*>(QStringLiteral("Shape1"));
        const QWidget* footer = m_frmprinc.findChild<QWidget*>(QStringLiteral("pfooter"));
        if (shape && footer)
            shape->resize(shape->width(), footer->height() - 1);
    });
}

void VersionQuerySteps::typeAdvertisement(QChar character)
{
    m_handOff->run([this, character] {
        if (auto* label = m_frmprinc.findChild<QLabel*>(QStringLiteral("labelad")))
            label->setText(label->text() + character);
    });
}

void VersionQuerySteps::checkVrm()
{
    m_handOff->run([this] { m_frmprinc.checkVrm(); });
}

void VersionQuerySteps::showConnectionFailure(const QString& message)
{
    m_handOff->run([this, message] { m_frmprinc.mdl(message); });
}

void VersionQuerySteps::exec(const QString& address)
{
    m_handOff->run([this, address] { m_frmprinc.exec(address); });
}

bool VersionQuerySteps::windowGone() const
{
    return m_handOff->isShutDown();
}

void VersionQuerySteps::pauseBetweenCharacters()
{
    QThread::msleep(kTypingPauseMs);
}

} // namespace quorvel
