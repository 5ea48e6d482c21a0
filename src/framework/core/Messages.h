// Framework messages: message elements, sending, posting and the framework's own message queue.
#pragma once

#include "framework/core/Elements.h"

#include <QString>

#include <functional>

// Message codes used by the framework.
namespace LumexCode {
constexpr qint32 Tool = 0;             // generic tool message (OnMessage0)
constexpr qint32 ReleaseRequest = 1;   // the sender asks its owner to free it
constexpr qint32 Release = 2;          // the receiving tool should release itself
constexpr qint32 Stop = 3;
constexpr qint32 Info = 8;             // informational text
constexpr qint32 ProgressStart = 10;
constexpr qint32 ProgressStep = 11;
constexpr qint32 ProgressEnd = 12;
constexpr qint32 ProgressText = 13;
}

// A message between elements. Sender, Receiver and Data are weak references: they read nil once
// their element is freed, so a message never reaches a dead element. With KillData the message
// holds its Data and frees it with itself, unless a container or an Owned still holds it. A
// posted message belongs to the framework queue until it is delivered and freed.
class TLumexMessage : public TElement
{
public:
    TLumexMessage() = default;
    ~TLumexMessage() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // Plain construction with the four fields set, KillData false, Time now (for any message class).
    template<class T = TLumexMessage>
    static Owned<T> CreateMessage(qint32 message, TElement* sender, TElement* receiver, TElement* data)
    {
        Owned<T> msg = Create<T>();
        msg->initMessage(message, sender, receiver, data);
        return msg;
    }

    TElement* Sender() const { return m_sender.get(); }
    void SetSender(TElement* e) { m_sender = e; }
    TElement* Receiver() const { return m_receiver.get(); }
    void SetReceiver(TElement* e) { m_receiver = e; }
    // A receiver was set but has been freed since: the message has nowhere to go.
    bool ReceiverLost() const { return m_receiver.isDangling(); }
    qint32 Message() const { return m_message; }
    void SetMessage(qint32 code) { m_message = code; }
    TElement* Data() const { return m_data.get(); }
    // With KillData the message holds its Data (TElement::Hold) and, when freed or given other
    // data, frees it unless something else still holds it.
    void SetData(TElement* e);
    bool KillData() const { return m_killData; }
    // Turning KillData off gives the hold up without freeing the data.
    void SetKillData(bool on);
    // Creation time (days since 1899-12-30).
    double Time() const { return m_time; }
    void SetTime(double t) { m_time = t; }

    // Published write-only PostIt/SendIt: a non-zero value becomes the code, then the message
    // goes to the framework queue, which takes it over from its containers and frees it. A
    // message that an Owned pointer holds stays with that holder.
    void PostIt(qint32 value);
    void SendIt(qint32 value);

private:
    void initMessage(qint32 message, TElement* sender, TElement* receiver, TElement* data);
    // Drops the hold of KillData on the data; frees the data when that was its last holder.
    void dropDataHold(bool mayFree);

    WeakRef<TElement> m_sender;
    WeakRef<TElement> m_receiver;
    qint32 m_message = 0;
    WeakRef<TElement> m_data;
    bool m_killData = false;
    bool m_holdsData = false;   // Hold taken on m_data for KillData
    double m_time = 0.0;
};

// A message with a text.
class TLumexTextMessage : public TLumexMessage
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    const QString& Text() const { return m_text; }
    void SetText(const QString& text) { m_text = text; }

private:
    QString m_text;
};

// --- delivery ---------------------------------------------------------------------------------
// The original handed messages to the window system; here the framework keeps its own queue.
// A handler (the world's HandleApplicationMessage) may be installed; without one, as in this
// program, sent and posted messages are not delivered and are freed at once.
using FrameworkMessageHandler = std::function<void(TLumexMessage& msg, bool& handled)>;
// Installs the handler; an empty one removes it (pending messages are then freed undelivered).
void SetFrameworkMessageHandler(FrameworkMessageHandler handler);

// Delivers the message to the handler at once, then frees it (and its Data when KillData).
void SendFrameworkMessage(Owned<TLumexMessage> msg);
// Queues the message for DispatchFrameworkMessages; freed at once when no handler is installed.
void PostFrameworkMessage(Owned<TLumexMessage> msg);
// Delivers the queued messages in posting order (also those posted meanwhile) and frees them.
// Call it where the application lets pending events run.
void DispatchFrameworkMessages();
// Number of posted messages waiting.
int PendingFrameworkMessages();

// The application's "process pending messages" point: lets pending UI events run
// (ui::services().processEvents()), then delivers the posted framework messages.
void ProcessMessages();

// A new TLumexTextMessage (no data) with its text, posted.
void PostTextMessage(TElement* sender, qint32 message, const QString& text, TElement* receiver);
