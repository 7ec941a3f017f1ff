#include "GraphTest.h"

using dstest::firstPin;
using dstest::PushSource;
using dstest::SinkFilter;
using dstest::videoType;
using plat::ComPtr;

namespace {
class FilterGraphTest : public dstest::GraphTest {};

// Passes its input's type on, and asks the graph to reconnect its input with the type
// its output connects with, as a tee does. Notes whether the input was disconnected for
// that inside the output's connection, which holds this filter's lock throughout.
class Relay : public CBaseFilter {
 public:
  Relay() : CBaseFilter("relay", nullptr, &m_lock, GUID_NULL), m_in(this), m_out(this) {}
  int GetPinCount() override { return 2; }
  CBasePin* GetPin(int n) override { return n == 0 ? static_cast<CBasePin*>(&m_in) : n == 1 ? &m_out : nullptr; }
  // The type the input is to be reconnected with once the output connects.
  void askForType(const CMediaType& type) { m_asked = type; }
  int inputDisconnects() const { return m_inputDisconnects; }
  bool disconnectedInsideAConnection() const { return m_insideConnection; }

 private:
  class In : public CBaseInputPin {
   public:
    explicit In(Relay* relay) : CBaseInputPin("relay in", relay, &relay->m_lock, &m_hr, L"In"), m_relay(relay) {}
    HRESULT CheckMediaType(const CMediaType*) override { return S_OK; }
    STDMETHODIMP Disconnect() override {
      ++m_relay->m_inputDisconnects;
      m_relay->m_insideConnection = m_relay->m_insideConnection || m_relay->m_connecting;
      return CBaseInputPin::Disconnect();
    }

   private:
    HRESULT m_hr = S_OK;
    Relay* m_relay;
  };
  class Out : public CBaseOutputPin {
   public:
    explicit Out(Relay* relay) : CBaseOutputPin("relay out", relay, &relay->m_lock, &m_hr, L"Out"), m_relay(relay) {}
    HRESULT CheckMediaType(const CMediaType*) override { return m_relay->m_in.IsConnected() ? S_OK : VFW_E_NOT_CONNECTED; }
    HRESULT GetMediaType(int position, CMediaType* type) override {
      if (position != 0) return VFW_S_NO_MORE_ITEMS;
      *type = m_relay->m_asked;
      return S_OK;
    }
    HRESULT DecideBufferSize(IMemAllocator* alloc, ALLOCATOR_PROPERTIES*) override {
      ALLOCATOR_PROPERTIES wanted{1, 64, 1, 0};
      ALLOCATOR_PROPERTIES actual{};
      return alloc->SetProperties(&wanted, &actual);
    }
    STDMETHODIMP Connect(IPin* pin, const AM_MEDIA_TYPE* type) override {
      m_relay->m_connecting = true;
      const HRESULT hr = CBaseOutputPin::Connect(pin, type);
      m_relay->m_connecting = false;
      return hr;
    }
    HRESULT CompleteConnect(IPin* pin) override {
      const HRESULT hr = CBaseOutputPin::CompleteConnect(pin);
      if (FAILED(hr)) return hr;
      ComPtr<IFilterGraph2> graph;
      m_relay->GetFilterGraph()->QueryInterface(IID_IFilterGraph2, graph.putVoid());
      return graph->ReconnectEx(&m_relay->m_in, &m_mt);
    }

   private:
    HRESULT m_hr = S_OK;
    Relay* m_relay;
  };

  CCritSec m_lock;
  In m_in;
  Out m_out;
  CMediaType m_asked;
  int m_inputDisconnects = 0;
  bool m_connecting = false;
  bool m_insideConnection = false;
};
}  // namespace

TEST_F(FilterGraphTest, NamesAreStoredExactlyAndKeptUnique) {
  auto* first = add(new SinkFilter(), L"Video  Renderer");
  auto* second = new SinkFilter();
  ComPtr<IBaseFilter> held(second);
  EXPECT_EQ(graph->AddFilter(second, L"Video  Renderer"), VFW_S_DUPLICATE_NAME);
  EXPECT_EQ(graph->AddFilter(first, L"Again"), S_FALSE);  // already a member
  add(new SinkFilter(), L"Video Renderer");
  const auto list = names();
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0], L"Video  Renderer");
  EXPECT_NE(list[1], L"Video  Renderer");
  EXPECT_EQ(list[1].rfind(L"Video  Renderer", 0), 0u);
  EXPECT_EQ(list[2], L"Video Renderer");

  ComPtr<IBaseFilter> found;
  ASSERT_EQ(graph->FindFilterByName(L"Video Renderer", found.put()), S_OK);
  EXPECT_EQ(graph->FindFilterByName(L"video renderer", found.put()), VFW_E_NOT_FOUND);
  FILTER_INFO info{};
  ASSERT_EQ(first->QueryFilterInfo(&info), S_OK);
  EXPECT_NE(info.pGraph, nullptr);
  info.pGraph->Release();
}

TEST_F(FilterGraphTest, RemovingAFilterBreaksItsConnectionsAndLeavesTheGraph) {
  auto* source = add(new PushSource(videoType(dstest::kSubtypeA), 1), L"Source");
  auto* sink = add(new SinkFilter(), L"Sink");
  ASSERT_EQ(graph->ConnectDirect(firstPin(source, PINDIR_OUTPUT), firstPin(sink, PINDIR_INPUT), nullptr), S_OK);
  ComPtr<IBaseFilter> keep(sink);
  ASSERT_EQ(graph->RemoveFilter(sink), S_OK);
  EXPECT_FALSE(source->GetPin(0)->IsConnected());
  EXPECT_FALSE(sink->GetPin(0)->IsConnected());
  FILTER_INFO info{};
  sink->QueryFilterInfo(&info);
  EXPECT_EQ(info.pGraph, nullptr);
  EXPECT_EQ(graph->RemoveFilter(sink), VFW_E_NOT_FOUND);
  // A removed filter can join again.
  EXPECT_EQ(graph->AddFilter(sink, L"Sink"), S_OK);
}

TEST_F(FilterGraphTest, FiltersCanBeRemovedWhileWalkingThenTheWalkStartsOver) {
  for (const wchar_t* name : {L"A", L"B", L"C"}) add(new SinkFilter(), name);
  ComPtr<IEnumFilters> walk;
  ASSERT_EQ(graph->EnumFilters(walk.put()), S_OK);
  int removed = 0;
  for (;;) {
    IBaseFilter* filter = nullptr;
    const HRESULT hr = walk->Next(1, &filter, nullptr);
    if (hr == VFW_E_ENUM_OUT_OF_SYNC) {
      walk->Reset();
      continue;
    }
    if (hr != S_OK) break;
    EXPECT_EQ(graph->RemoveFilter(filter), S_OK);
    filter->Release();
    ++removed;
  }
  EXPECT_EQ(removed, 3);
  EXPECT_TRUE(names().empty());
}

TEST_F(FilterGraphTest, ConnectDirectChecksMembershipDirectionAndTypes) {
  auto* source = add(new PushSource(videoType(dstest::kSubtypeA), 1), L"Source");
  auto* rgbOnly = add(new SinkFilter({dstest::kSubtypeB}), L"RGB sink");
  auto* outsider = new SinkFilter();
  ComPtr<IBaseFilter> outsiderRef(outsider);
  IPin* out = firstPin(source, PINDIR_OUTPUT);
  EXPECT_EQ(graph->ConnectDirect(out, firstPin(outsider, PINDIR_INPUT), nullptr), VFW_E_NOT_IN_GRAPH);
  EXPECT_EQ(graph->ConnectDirect(firstPin(rgbOnly, PINDIR_INPUT), out, nullptr), VFW_E_INVALID_DIRECTION);
  EXPECT_EQ(graph->ConnectDirect(out, firstPin(rgbOnly, PINDIR_INPUT), nullptr), VFW_E_NO_ACCEPTABLE_TYPES);
  const CMediaType yuy2 = videoType(dstest::kSubtypeA);
  EXPECT_EQ(graph->ConnectDirect(out, firstPin(rgbOnly, PINDIR_INPUT), &yuy2), VFW_E_TYPE_NOT_ACCEPTED);
  // No intermediate filter is registered: intelligent connect cannot help either.
  EXPECT_EQ(graph->Connect(out, firstPin(rgbOnly, PINDIR_INPUT)), VFW_E_CANNOT_CONNECT);
  EXPECT_EQ(names().size(), 2u);
}

TEST_F(FilterGraphTest, ReconnectKeepsThePeersWithTheNewType) {
  auto* source = add(new PushSource(videoType(dstest::kSubtypeA), 1), L"Source");
  auto* sink = add(new SinkFilter(), L"Sink");
  IPin* in = firstPin(sink, PINDIR_INPUT);
  ASSERT_EQ(graph->ConnectDirect(firstPin(source, PINDIR_OUTPUT), in, nullptr), S_OK);
  ComPtr<IFilterGraph2> graph2 = graphAs<IFilterGraph2>(IID_IFilterGraph2);
  const CMediaType other = videoType(dstest::kSubtypeA, 16, 4);
  // The source offers only its own type: the new one is refused and nothing stays connected.
  EXPECT_TRUE(FAILED(graph2->ReconnectEx(in, &other)));
  EXPECT_FALSE(sink->GetPin(0)->IsConnected());
  EXPECT_EQ(graph2->ConnectDirect(firstPin(source, PINDIR_OUTPUT), in, nullptr), S_OK);
  EXPECT_EQ(graph2->Reconnect(in), S_OK);
  EXPECT_TRUE(sink->GetPin(0)->IsConnected());
}

TEST_F(FilterGraphTest, VideoAndAudioControlsNeedARenderer) {
  ComPtr<IVideoWindow> window = graphAs<IVideoWindow>(IID_IVideoWindow);
  EXPECT_EQ(window->put_Visible(OATRUE), E_NOINTERFACE);
  ComPtr<IBasicVideo> video = graphAs<IBasicVideo>(IID_IBasicVideo);
  long width = 0;
  EXPECT_EQ(video->get_VideoWidth(&width), E_NOINTERFACE);
  ComPtr<IBasicAudio> audio = graphAs<IBasicAudio>(IID_IBasicAudio);
  EXPECT_EQ(audio->put_Volume(0), E_NOTIMPL);
  ComPtr<IAMGraphStreams> streams = graphAs<IAMGraphStreams>(IID_IAMGraphStreams);
  EXPECT_EQ(streams->SyncUsingStreamOffset(TRUE), S_OK);
}

TEST_F(FilterGraphTest, AReconnectionAskedForWhileConnectingIsMadeOnceTheConnectionIsWithNoFilterLocked) {
  // Made at once, it would lock the source after the relay, while connecting the source
  // to the relay locks them the other way round: two threads doing both would deadlock.
  auto* source = add(new PushSource(videoType(dstest::kSubtypeA), 1), L"Source");
  auto* relay = add(new Relay(), L"Relay");
  auto* sink = add(new SinkFilter(), L"Sink");
  IPin* relayIn = relay->GetPin(0);
  ASSERT_EQ(graph->ConnectDirect(firstPin(source, PINDIR_OUTPUT), relayIn, nullptr), S_OK);
  relay->askForType(videoType(dstest::kSubtypeA));
  ASSERT_EQ(graph->ConnectDirect(relay->GetPin(1), firstPin(sink, PINDIR_INPUT), nullptr), S_OK);
  EXPECT_EQ(relay->inputDisconnects(), 1);
  EXPECT_FALSE(relay->disconnectedInsideAConnection());
  EXPECT_TRUE(relay->GetPin(0)->IsConnected());
  EXPECT_TRUE(sink->GetPin(0)->IsConnected());
}

TEST_F(FilterGraphTest, AConnectionWhoseReconnectionFailsIsUndoneAndReportsTheFailure) {
  auto* source = add(new PushSource(videoType(dstest::kSubtypeA), 1), L"Source");
  auto* relay = add(new Relay(), L"Relay");
  auto* sink = add(new SinkFilter(), L"Sink");
  ASSERT_EQ(graph->ConnectDirect(firstPin(source, PINDIR_OUTPUT), relay->GetPin(0), nullptr), S_OK);
  // The source makes only its own type.
  relay->askForType(videoType(dstest::kSubtypeB));
  EXPECT_TRUE(FAILED(graph->ConnectDirect(relay->GetPin(1), firstPin(sink, PINDIR_INPUT), nullptr)));
  EXPECT_FALSE(relay->GetPin(1)->IsConnected());
  EXPECT_FALSE(sink->GetPin(0)->IsConnected());
  EXPECT_FALSE(relay->disconnectedInsideAConnection());
}
