// The notification pair: attachments kept once, observers told last first, and a subject
// going away forgotten by its observers.
#include "core/CObserver.h"
#include "core/CSubject.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Call {
  int observer;
  int event;
};

class RecordingObserver : public CObserver {
 public:
  RecordingObserver(int id, std::vector<Call>& calls) : m_id(id), m_calls(calls) {}
  int OnNotify(int event, WPARAM wParam, LPARAM lParam) override {
    m_calls.push_back({m_id, event});
    return CObserver::OnNotify(event, wParam, lParam);
  }

 private:
  int m_id;
  std::vector<Call>& m_calls;
};

TEST(SubjectObserverTest, ObserversAreToldLastAttachedFirstAndOnlyOnce) {
  std::vector<Call> calls;
  RecordingObserver first(1, calls), second(2, calls);
  CSubject subject;
  subject.Attach(&first);
  subject.Attach(&second);
  subject.Attach(&first);  // already attached
  subject.Attach(nullptr);
  EXPECT_EQ(subject.Notify(80, 0, 0), 1);
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].observer, 2);
  EXPECT_EQ(calls[1].observer, 1);
  EXPECT_EQ(calls[1].event, 80);

  calls.clear();
  subject.Detach(&second);
  subject.Detach(nullptr);
  subject.Notify(81, 0, 0);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].observer, 1);
}

TEST(SubjectObserverTest, ASubjectGoingAwayTellsEveryObserverWithEventZero) {
  std::vector<Call> calls;
  RecordingObserver first(1, calls), second(2, calls);
  {
    CSubject subject;
    subject.Attach(&first);
    subject.Attach(&second);
  }
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].observer, 2);
  EXPECT_EQ(calls[0].event, 0);
  EXPECT_EQ(calls[1].observer, 1);
  // The observers forgot the subject: destroying them now touches nothing freed (ASan).
}

TEST(SubjectObserverTest, AnObserverGoingAwayDetachesFromEverySubject) {
  std::vector<Call> calls;
  CSubject a, b;
  {
    RecordingObserver observer(1, calls);
    a.Attach(&observer);
    b.Attach(&observer);
  }
  a.Notify(80, 0, 0);
  b.Notify(80, 0, 0);
  EXPECT_TRUE(calls.empty());
}

TEST(SubjectObserverTest, OtherEventsAreNotHandledByTheBase) {
  CObserver observer;
  EXPECT_EQ(observer.OnNotify(80, 0, 0), 0);
}

}  // namespace
