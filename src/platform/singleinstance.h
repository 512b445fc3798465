#pragma once

#include <QStringList>
#include <functional>

// One running instance per user. A second start hands its arguments to the
// running one and ends.
class ISingleInstance {
public:
    enum class Claim {
        Primary,    // this is the running instance now; lists arrive through the handler
        HandedOver, // another instance runs and has the arguments; end this one
        Failed,     // neither: run alone, without hand-off
    };
    using Handler = std::function<void(const QStringList& arguments)>;

    virtual ~ISingleInstance() = default;
    virtual Claim Start(const QStringList& arguments) = 0;
    // Called on the GUI thread with each list a later start hands over.
    virtual void SetHandler(Handler handler) = 0;
};
