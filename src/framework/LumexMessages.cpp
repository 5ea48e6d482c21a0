// Framework messages: message elements, sending, posting and the framework's own message queue.
#include "framework/LumexMessages.h"

#include "platform/text/DateTime.h"
#include "platform/ui/Services.h"

#include <deque>

namespace {

struct MessageQueue {
    FrameworkMessageHandler handler;
    std::deque<Owned<TLumexMessage>> pending;
};

MessageQueue& queue()
{
    static MessageQueue q;
    return q;
}

void deliver(Owned<TLumexMessage> msg)
{
    // The handler may install another one or post further messages: call a copy.
    const FrameworkMessageHandler handler = queue().handler;
    if (handler) {
        bool handled = false;
        handler(*msg, handled);
    }
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

TLumexMessage::~TLumexMessage()
{
    if (m_killData)
        FreeObject(m_data.get());
}

void TLumexMessage::initMessage(qint32 message, TElement* sender, TElement* receiver, TElement* data)
{
    m_message = message;
    m_sender = sender;
    m_receiver = receiver;
    m_data = data;
    m_killData = false;
    m_time = txt::now();
}

namespace {

// The queue takes the message over from whoever held it.
Owned<TLumexMessage> detachMessage(TLumexMessage* msg, qint32 value)
{
    if (value != 0)
        msg->SetMessage(value);
    msg->LeaveContainers();
    return Owned<TLumexMessage>(msg);
}

} // namespace

void TLumexMessage::PostIt(qint32 value)
{
    PostFrameworkMessage(detachMessage(this, value));
}

void TLumexMessage::SendIt(qint32 value)
{
    SendFrameworkMessage(detachMessage(this, value));
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
    if (msg)
        deliver(std::move(msg));
}

void PostFrameworkMessage(Owned<TLumexMessage> msg)
{
    // Without a handler nobody would ever take the message: it is not delivered and freed now.
    if (msg && queue().handler)
        queue().pending.push_back(std::move(msg));
}

void DispatchFrameworkMessages()
{
    while (!queue().pending.empty()) {
        Owned<TLumexMessage> msg = std::move(queue().pending.front());
        queue().pending.pop_front();
        deliver(std::move(msg));
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
