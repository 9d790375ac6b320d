#pragma once

#include "update/VersionQuery.h"

#include <memory>

namespace quorvel {

class GuiHandOff;
class Tfrmprinc;

// The version query's window steps, each handed to the main window's thread and waited for.
class VersionQuerySteps final : public VersionQueryHost
{
public:
    VersionQuerySteps(Tfrmprinc& frmprinc, std::shared_ptr<GuiHandOff> handOff);

    void prepareAdvertisement() override;
    void typeAdvertisement(QChar character) override;
    void checkVrm() override;
    void showConnectionFailure(const QString& message) override;
    void exec(const QString& address) override;
    bool windowGone() const override;
    void pauseBetweenCharacters() override;

private:
    Tfrmprinc& m_frmprinc;
    std::shared_ptr<GuiHandOff> m_handOff;
};

} // namespace quorvel
