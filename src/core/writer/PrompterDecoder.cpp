#include "writer/PrompterDecoder.h"

#include <cstring>
#include <utility>

#include "writer/PrompterStream.h"

namespace lv {

namespace {

struct TValue {
    std::int32_t Tick;
    std::uint8_t Value;
};

class TDecoder {
  public:
    TDecoder(std::vector<TValue> values, TPrompterStreamView& out)
        : V(std::move(values)), Out(out) {}

    void Run() {
        Header();
        Body();
        Tail();
    }

  private:
    bool AtEnd() const { return I >= V.size(); }
    void Problem(const std::string& what) {
        Out.Problems.push_back(what + " at value " + std::to_string(I) +
                               (AtEnd() ? std::string(" (end)")
                                        : " (tick " + std::to_string(V[I].Tick) + ", value " +
                                              std::to_string(V[I].Value) + ")"));
    }

    void Header() {
        const std::size_t sigLen = std::strlen(kPrompterSignature);
        if (V.size() < sigLen + 2 || V[0].Value != 24) {
            Problem("no signature");
            return;
        }
        for (std::size_t k = 0; k < sigLen; ++k)
            if (V[1 + k].Value != static_cast<std::uint8_t>(kPrompterSignature[k])) {
                I = 1 + k;
                Problem("signature differs");
                return;
            }
        if (V[1 + sigLen].Value != 25) {
            I = 1 + sigLen;
            Problem("signature not closed");
            return;
        }
        Out.HasSignature = true;
        I = sigLen + 2;
        if (!AtEnd() && V[I].Value == 15)
            ++I;
        else
            Problem("15 missing after the signature");
        while (!AtEnd()) {
            const std::uint8_t v = V[I].Value;
            if (v == 22) {
                ++I;
                Out.HeaderComplete = true;
                return;
            }
            if ((v == 18 || v == 19) && I + 1 < V.size()) {
                (v == 18 ? Out.Font : Out.FontHeight) = V[I + 1].Value - 28;
                I += 2;
            } else if (v == 26) {
                Out.InverseVideo = true;
                ++I;
            } else {
                Problem("unknown header value");
                ++I;
            }
        }
    }

    // 9 column [16 hundreds] 10 line; false when the values do not form one.
    bool Cursor(TPrompterCursor& c) {
        const std::size_t start = I;
        if (AtEnd() || V[I].Value != 9 || I + 1 >= V.size()) return false;
        c.Tick = V[I].Tick;
        c.Column = V[I + 1].Value - 28;
        I += 2;
        int hundreds = 0;
        if (!AtEnd() && V[I].Value == 16 && I + 1 < V.size()) {
            hundreds = V[I + 1].Value - 28;
            I += 2;
        }
        if (AtEnd() || V[I].Value != 10 || I + 1 >= V.size()) {
            I = start;
            return false;
        }
        c.Line = hundreds * 100 + (V[I + 1].Value - 28);
        I += 2;
        c.TextPosition = Out.Text.size();
        return true;
    }

    void Body() {
        if (!Out.HeaderComplete) return;
        while (!AtEnd()) {
            const std::uint8_t v = V[I].Value;
            if (v == 23) {
                ++I;
                if (!AtEnd() && V[I].Value == 12) {
                    ++I;
                    Out.Ended = true;
                    return;
                }
                TPrompterCursor c;
                if (!Cursor(c)) {
                    Problem("broken framed cursor command");
                    continue;
                }
                c.Framed = true;
                Out.Cursors.push_back(c);
                if (!AtEnd() && V[I].Value == 22)
                    ++I;
                else
                    Problem("framed cursor command not closed");
            } else if (v == 27) {
                if (I + 1 >= V.size()) {
                    Problem("escape at the end");
                    ++I;
                    continue;
                }
                Out.Text.push_back(static_cast<char>(V[I + 1].Value + 128));
                I += 2;
            } else {
                Out.Text.push_back(static_cast<char>(v));
                ++I;
            }
        }
        Problem("end sequence missing");
    }

    void Tail() {
        if (!Out.Ended) return;
        while (!AtEnd()) {
            TPrompterCursor c;
            if (!Cursor(c)) {
                Problem("value after the end that is no cursor command");
                ++I;
                continue;
            }
            c.Framed = false;
            Out.Cursors.push_back(c);
        }
    }

    std::vector<TValue> V;
    TPrompterStreamView& Out;
    std::size_t I = 0;
};

} // namespace

TPrompterStreamView DecodePrompterStream(const TEventList& events, std::uint8_t channel,
                                         std::uint8_t controller) {
    std::vector<TValue> values;
    const std::uint8_t status = static_cast<std::uint8_t>(0xB0 | (channel & 0x0F));
    for (const TMidiEvent& e : events)
        if (e.Kind == 1 && e.Status == status && e.Data1 == controller)
            values.push_back({e.Tick, e.Data2});
    TPrompterStreamView view;
    TDecoder(std::move(values), view).Run();
    return view;
}

} // namespace lv
