#include "music-player/dshow_player_win.h"

#include <dshow.h>

#include <cmath>

#include "common/platform_win.h"
#include "common/text_rules.h"
#include "music-player/lyrics.h"
#include "music-player/media_paths.h"
#include "music-player/playlist.h"

namespace player {
namespace {

template <typename T>
void Release(T*& p) {
  if (p)
    p->Release();
  p = nullptr;
}

// Volume 0..100 as DirectShow's hundredths of a decibel (-10000 is silence).
long VolumeToDirectShow(int volume) {
  if (volume <= 0)
    return -10000;
  if (volume >= 100)
    return 0;
  return static_cast<long>(std::lround(2000.0 * std::log10(volume / 100.0)));
}

bool IsLocalPath(const std::wstring& path) {
  return (path.size() >= 3 && path[1] == L':') || path.rfind(L"\\\\", 0) == 0;
}

}  // namespace

FileSource::FileSource(const std::wstring& path)
    : file_(::CreateFileW(path.c_str(),
                          GENERIC_READ,
                          FILE_SHARE_READ | FILE_SHARE_WRITE,
                          nullptr,
                          OPEN_EXISTING,
                          FILE_FLAG_RANDOM_ACCESS,
                          nullptr)) {}

FileSource::~FileSource() = default;

uint64_t FileSource::Size() {
  LARGE_INTEGER size;
  if (!file_ || !::GetFileSizeEx(file_.get(), &size))
    return 0;
  return static_cast<uint64_t>(size.QuadPart);
}

std::string FileSource::Read(uint64_t offset, size_t length) {
  if (!file_ || length == 0)
    return std::string();
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(offset);
  if (!::SetFilePointerEx(file_.get(), at, nullptr, FILE_BEGIN))
    return std::string();
  std::string bytes(length, '\0');
  DWORD got = 0;
  if (!::ReadFile(file_.get(), bytes.data(), static_cast<DWORD>(length), &got, nullptr))
    got = 0;
  bytes.resize(got);
  return bytes;
}

DirectShowPlayer::DirectShowPlayer(HWND window, UINT message)
    : window_(window), message_(message) {}

DirectShowPlayer::~DirectShowPlayer() {
  ReleaseGraph();
}

void DirectShowPlayer::ReleaseGraph() {
  if (control_)
    control_->Stop();
  if (events_)
    events_->SetNotifyWindow(0, 0, 0);
  if (video_)
    video_->put_Visible(OAFALSE);
  Release(video_);
  Release(audio_);
  Release(events_);
  Release(seeking_);
  Release(control_);
  Release(graph_);
}

void DirectShowPlayer::SetURL(const std::wstring& url) {
  url_ = url;
  items_.clear();
  if (IsPlaylist(url)) {
    FileSource file(url);
    const std::string bytes =
        file.Read(0, static_cast<size_t>(std::min<uint64_t>(file.Size(), 4u << 20)));
    const size_t slash = url.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? L"." : url.substr(0, slash);
    items_ = ParsePlaylist(DecodeLyricBytes(bytes, common::AnsiCodePage()), folder);
  } else {
    items_.push_back(url);
  }
  OpenItem(0);
}

void DirectShowPlayer::OpenItem(size_t index) {
  ReleaseGraph();
  item_ = index;
  tags_ = MediaTags{};
  state_ = 0;
  if (index >= items_.size())
    return;
  const std::wstring& source = items_[index];
  if (IsLocalPath(source)) {
    FileSource file(source);
    if (file.ok())
      tags_ = ReadTags(file, common::AnsiCodePage());
  }
  if (tags_.title.empty())
    tags_.title = TitleFromAddress(source);

  if (FAILED(::CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                reinterpret_cast<void**>(&graph_)))) {
    graph_ = nullptr;
    return;
  }
  // An address that cannot be played leaves no graph: no position, no
  // message.
  if (FAILED(graph_->RenderFile(source.c_str(), nullptr))) {
    ReleaseGraph();
    return;
  }
  graph_->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&control_));
  graph_->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(&seeking_));
  graph_->QueryInterface(IID_IMediaEventEx, reinterpret_cast<void**>(&events_));
  graph_->QueryInterface(IID_IBasicAudio, reinterpret_cast<void**>(&audio_));
  graph_->QueryInterface(IID_IVideoWindow, reinterpret_cast<void**>(&video_));
  if (video_) {
    // A video renderer would otherwise open a window of its own.
    video_->put_AutoShow(OAFALSE);
  }
  if (events_)
    events_->SetNotifyWindow(reinterpret_cast<OAHWND>(window_), message_, 0);
  if (audio_)
    audio_->put_Volume(VolumeToDirectShow(volume_));
  if (control_ && SUCCEEDED(control_->Run()))
    Raise(kStatePlaying);
}

void DirectShowPlayer::Play() {
  if (!control_) {
    // After the end of a playlist, or an item that could not be played:
    // start from the first item again.
    if (!items_.empty() && state_ == kStateStopped)
      OpenItem(0);
    return;
  }
  if (state_ == kStateStopped) {
    if (items_.size() > 1 && item_ + 1 >= items_.size()) {
      OpenItem(0);
      return;
    }
    if (seeking_) {
      LONGLONG start = 0;
      seeking_->SetPositions(&start, AM_SEEKING_AbsolutePositioning, nullptr,
                             AM_SEEKING_NoPositioning);
    }
  }
  if (SUCCEEDED(control_->Run()))
    Raise(kStatePlaying);
}

void DirectShowPlayer::Pause() {
  if (control_ && SUCCEEDED(control_->Pause()))
    Raise(kStatePaused);
}

void DirectShowPlayer::Stop() {
  if (!control_)
    return;
  control_->Stop();
  if (seeking_) {
    LONGLONG start = 0;
    seeking_->SetPositions(&start, AM_SEEKING_AbsolutePositioning, nullptr,
                           AM_SEEKING_NoPositioning);
  }
  Raise(kStateStopped);
}

void DirectShowPlayer::Raise(int state) {
  state_ = state;
  if (on_play_state_change)
    on_play_state_change(state);
}

double DirectShowPlayer::PositionSeconds() {
  LONGLONG position = 0;
  if (!seeking_ || FAILED(seeking_->GetCurrentPosition(&position)))
    return 0;
  return position / 1e7;
}

double DirectShowPlayer::DurationSeconds() {
  LONGLONG duration = 0;
  if (!seeking_ || FAILED(seeking_->GetDuration(&duration)))
    return 0;
  return duration / 1e7;
}

void DirectShowPlayer::Seek(double seconds) {
  if (!seeking_)
    return;
  LONGLONG at = static_cast<LONGLONG>(seconds * 1e7);
  seeking_->SetPositions(&at, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
}

void DirectShowPlayer::SetVolume(int volume) {
  volume_ = volume < 0 ? 0 : (volume > 100 ? 100 : volume);
  if (audio_)
    audio_->put_Volume(VolumeToDirectShow(volume_));
}

std::wstring DirectShowPlayer::CurrentPositionString() {
  if (!graph_)
    return std::wstring();
  return PositionText(PositionSeconds());
}

std::wstring DirectShowPlayer::DurationString() {
  if (!graph_)
    return std::wstring();
  return PositionText(DurationSeconds());
}

std::wstring DirectShowPlayer::GetItemInfo(const std::wstring& name) {
  if (item_ >= items_.size())
    return std::wstring();
  const std::wstring key = common::ToLowerAscii(name);
  if (key == L"sourceurl")
    return items_[item_];
  if (key == L"author")
    return tags_.author;
  if (key == L"title")
    return tags_.title;
  return std::wstring();
}

void DirectShowPlayer::HandleGraphEvents() {
  if (!events_)
    return;
  long code = 0;
  LONG_PTR first = 0, second = 0;
  while (events_ && events_->GetEvent(&code, &first, &second, 0) == S_OK) {
    events_->FreeEventParams(code, first, second);
    if (code == EC_COMPLETE) {
      if (item_ + 1 < items_.size()) {
        OpenItem(item_ + 1);  // the next item of the playlist
      } else {
        if (control_)
          control_->Stop();
        Raise(kStateStopped);
      }
      return;  // the graph may be a new one now
    }
    if (code == EC_ERRORABORT || code == EC_USERABORT) {
      // Playback broke off: stopped, but no repeat of a broken item.
      if (control_)
        control_->Stop();
      state_ = kStateStopped;
      return;
    }
  }
}

}  // namespace player
