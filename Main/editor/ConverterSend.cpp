#include "editor/ConverterSend.h"

namespace edit {

bool SendWithConverter(const TConverterState& state, const std::string& port, sig::TSignalSet& signal,
                       const std::function<void(const TConverterMessage&)>& messages, const std::function<bool()>& send,
                       TConverterSendResult& result) {
    result.State = state;
    TConverterSession session(result.State, port);
    session.SetMessageSink(messages);
    const TSendPreparation prep = PrepareConverterSend(session);
    bool sent = false;
    result.Calculated = prep.ConverterAnswered && prep.MaySend();
    if (result.Calculated) result.Error = CalcConverter(result.State, signal, result.State.Automatic);
    if (prep.MaySend() && result.Error == 0) {
        sent = send();
        FinishConverterSend(session, prep, sent);
    }
    result.Current = signal.Current;
    result.Converter = signal.Converter;
    return sent;
}

}  // namespace edit
