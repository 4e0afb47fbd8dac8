#include "studies/point_record.h"

#include <stdexcept>

#include "studies/byte_record.h"
#include "studies/point_exchange.h"

namespace lumetra {

namespace {

void PutComplex(ByteWriter& out, const Complex& z) {
  out.Put(z.Re);
  out.Put(z.Im);
}

Complex GetComplex(ByteReader& in) {
  const double re = in.Get<double>();
  return {re, in.Get<double>()};
}

}  // namespace

std::string EncodePointRecord(const PointRecord& r) {
  ByteWriter out;
  out.Put(r.Solved);
  out.Put(r.Stopped);
  out.PutText(r.WriteError);
  out.PutText(r.Failure);
  const FrequencyPointResult& p = r.Result;
  out.Put(p.FrequencyMHz);
  out.Put(p.Unknowns);
  out.Put(p.FillSeconds);
  out.Put(p.SolveSeconds);
  out.Put(p.InputPower);
  out.Put(p.EpsEff);
  out.Put(p.MaxKr);
  out.Put(p.SpectralPoints);
  out.Put(static_cast<std::uint64_t>(p.Sources.size()));
  for (const SourceReading& s : p.Sources) {
    out.Put(s.Number);
    PutComplex(out, s.Voltage);
    out.Put(s.Current.has_value());
    PutComplex(out, s.Current.value_or(Complex{0, 0}));
  }
  out.Put(static_cast<std::uint64_t>(r.Messages.size()));
  for (const DeferredMessage& m : r.Messages) {
    out.Put(m.Shown);
    out.PutText(m.Text);
  }
  out.Put(static_cast<std::uint64_t>(r.Blocks.size()));
  for (const std::string& block : r.Blocks) out.PutText(block);
  out.PutText(r.Kept);
  return out.Take();
}

PointRecord DecodePointRecord(std::string_view bytes) {
  ByteReader in(bytes);
  PointRecord r;
  r.Solved = in.Get<bool>();
  r.Stopped = in.Get<bool>();
  r.WriteError = in.GetText();
  r.Failure = in.GetText();
  FrequencyPointResult& p = r.Result;
  p.FrequencyMHz = in.Get<double>();
  p.Unknowns = in.Get<std::int32_t>();
  p.FillSeconds = in.Get<double>();
  p.SolveSeconds = in.Get<double>();
  p.InputPower = in.Get<double>();
  p.EpsEff = in.Get<double>();
  p.MaxKr = in.Get<double>();
  p.SpectralPoints = in.Get<std::int32_t>();
  for (std::uint64_t k = in.GetCount(37); k > 0; --k) {
    SourceReading s;
    s.Number = in.Get<std::int32_t>();
    s.Voltage = GetComplex(in);
    const bool current = in.Get<bool>();
    const Complex value = GetComplex(in);
    if (current) s.Current = value;
    p.Sources.push_back(s);
  }
  for (std::uint64_t k = in.GetCount(9); k > 0; --k) {
    DeferredMessage m;
    m.Shown = in.Get<DeferredMessage::Kind>();
    if (m.Shown > DeferredMessage::Kind::Progress) throw std::runtime_error("malformed point record");
    m.Text = in.GetText();
    r.Messages.push_back(std::move(m));
  }
  for (std::uint64_t k = in.GetCount(8); k > 0; --k) r.Blocks.push_back(in.GetText());
  r.Kept = in.GetText();
  in.ExpectEnd();
  return r;
}

bool ReceivePointRecord(PointExchange& exchange, std::size_t index, PointRecord& record) {
  if (const std::optional<std::string> bytes = exchange.TryReceive(index)) {
    try {
      record = DecodePointRecord(*bytes);
    } catch (const std::exception& error) {
      record.Failure = error.what();
    }
  } else if (const std::optional<std::string> failure = exchange.TryReceiveFailure(index)) {
    record.Failure = *failure;
  } else {
    return false;
  }
  return true;
}

std::string FailureText(const std::exception_ptr& failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const std::exception& error) {
    return error.what();
  } catch (...) {
    return "unknown failure";
  }
}

}  // namespace lumetra
