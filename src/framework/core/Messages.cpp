// Framework messages: message elements, sending, posting and the framework's own message queue.
#include "framework/core/Messages.h"

#include "platform/text/DateTime.h"
#include "platform/ui/Services.h"

#include <deque>

namespace {

// A queued message: owned by the queue, or borrowed from an Owned pointer that keeps it (then
// skipped when that holder has freed it before delivery).
struct PendingMessage {
    Owned<TLumexMessage> owned;
    WeakRef<TLumexMessage> borrowed;
    TLumexMessage* get() const { return owned ? owned.get() : borrowed.get(); }
};

struct MessageQueue {
    FrameworkMessageHandler handler;
    std::deque<PendingMessage> pending;
};

MessageQueue& queue()
{
    static MessageQueue q;
    return q;
}

void deliver(TLumexMessage* msg)
{
    // The handler may install another one or post further messages: call a copy.
    const FrameworkMessageHandler handler = queue().handler;
    if (handler && msg) {
        bool handled = false;
        handler(*msg, handled);
    }
}

void enqueue(PendingMessage entry)
{
    // Without a handler nobody would ever take the message: it is not delivered (and an owned
    // one is freed now).
    if (entry.get() && queue().handler)
        queue().pending.push_back(std::move(entry));
}

} // namespace

// --- TLumexMessage ----------------------------------------------------------------------------

TClass TLumexMessage::StaticClass()
{
    static const TClassInfo info =
        describeClass<TLumexMessage, TElement>("TLumexMessage", [](PropertyTable<TLumexMessage>& t) {
            t.object<TElement>("Sender", &TLumexMessage::Sender, &TLumexMessage::SetSender)
                .object<TElement>("Receiver", &TLumexMessage::Receiver, &TLumexMessage::SetReceiver)
                .integer("Message", &TLumexMessage::Message, &TLumexMessage::SetMessage)
                .object<TElement>("Data", &TLumexMessage::Data, &TLumexMessage::SetData)
                .boolean("KillData", &TLumexMessage::KillData, &TLumexMessage::SetKillData)
                .floating("Time", "TDateTime", &TLumexMessage::Time, &TLumexMessage::SetTime)
                .integer("PostIt", nullptr, &TLumexMessage::PostIt)
                .integer("SendIt", nullptr, &TLumexMessage::SendIt);
        });
    return &info;
}

// The data may hold the message: the message leaves it first, or freeing the data would free
// the message a second time.
TLumexMessage::~TLumexMessage()
{
    LeaveContainers();
    dropDataHold(true);
}

void TLumexMessage::dropDataHold(bool mayFree)
{
    if (!m_holdsData)
        return;
    m_holdsData = false;
    TElement* data = m_data.get();
    if (data && data->DropHold() && mayFree)
        FreeObject(data);
}

void TLumexMessage::SetData(TElement* e)
{
    if (e == m_data.get())
        return;
    dropDataHold(true);
    m_data = e;
    if (m_killData && e) {
        e->Hold();
        m_holdsData = true;
    }
}

void TLumexMessage::SetKillData(bool on)
{
    if (on == m_killData)
        return;
    m_killData = on;
    if (!on) {
        dropDataHold(false);
    } else if (TElement* data = m_data.get()) {
        data->Hold();
        m_holdsData = true;
    }
}

void TLumexMessage::initMessage(qint32 message, TElement* sender, TElement* receiver, TElement* data)
{
    m_message = message;
    m_sender = sender;
    m_receiver = receiver;
    SetKillData(false);
    SetData(data);
    m_time = txt::now();
}

void TLumexMessage::PostIt(qint32 value)
{
    if (value != 0)
        SetMessage(value);
    if (IsHeldByOwned()) {
        enqueue({nullptr, this});
        return;
    }
    // The queue takes the message over from the containers that held it.
    LeaveContainers();
    enqueue({Owned<TLumexMessage>(this), nullptr});
}

void TLumexMessage::SendIt(qint32 value)
{
    if (value != 0)
        SetMessage(value);
    if (IsHeldByOwned()) {
        deliver(this);
        return;
    }
    LeaveContainers();
    SendFrameworkMessage(Owned<TLumexMessage>(this));
}

TClass TLumexTextMessage::StaticClass()
{
    static const TClassInfo info =
        describeClass<TLumexTextMessage, TLumexMessage>("TLumexTextMessage", [](PropertyTable<TLumexTextMessage>& t) {
            t.string("Text", &TLumexTextMessage::Text, &TLumexTextMessage::SetText);
        });
    return &info;
}

// --- delivery ---------------------------------------------------------------------------------

void SetFrameworkMessageHandler(FrameworkMessageHandler handler)
{
    queue().handler = std::move(handler);
    if (!queue().handler)
        queue().pending.clear();
}

void SendFrameworkMessage(Owned<TLumexMessage> msg)
{
    deliver(msg.get());
}

void PostFrameworkMessage(Owned<TLumexMessage> msg)
{
    enqueue({std::move(msg), nullptr});
}

void DispatchFrameworkMessages()
{
    while (!queue().pending.empty()) {
        const PendingMessage entry = std::move(queue().pending.front());
        queue().pending.pop_front();
        deliver(entry.get());
    }
}

void ProcessMessages()
{
    ui::services().processEvents();
    DispatchFrameworkMessages();
}

int PendingFrameworkMessages()
{
    return static_cast<int>(queue().pending.size());
}

void PostTextMessage(TElement* sender, qint32 message, const QString& text, TElement* receiver)
{
    Owned<TLumexTextMessage> msg = TLumexMessage::CreateMessage<TLumexTextMessage>(message, sender, receiver, nullptr);
    msg->SetText(text);
    PostFrameworkMessage(std::move(msg));
}

// --- TElement's message operations ---------------------------------------------------------------

void TElement::HandleMessage(TLumexMessage&, bool&) {}

void TElement::DispatchToOwners(TLumexMessage& msg, bool& handled)
{
    for (int i = 0; i < OwnersCount() && !handled; ++i)
        if (TElement* owner = GetOwner(i))
            owner->HandleMessage(msg, handled);
    handled = true;
}

void TElement::SendMessage(qint32 message, TElement* receiver, TElement* data)
{
    SendFrameworkMessage(TLumexMessage::CreateMessage(message, this, receiver, data));
}

void TElement::PostMessage(qint32 message, TElement* receiver, TElement* data)
{
    PostFrameworkMessage(TLumexMessage::CreateMessage(message, this, receiver, data));
}

void TElement::SendToOwners(qint32 message, TElement* data)
{
    for (int i = 0; i < OwnersCount(); ++i)
        SendMessage(message, GetOwner(i), data);
}

void TElement::PostToOwners(qint32 message, TElement* data)
{
    for (int i = 0; i < OwnersCount(); ++i)
        PostMessage(message, GetOwner(i), data);
}
