#ifndef VEKTORLING_AGENT_SINGLETON_H
#define VEKTORLING_AGENT_SINGLETON_H

// One process-wide instance of T. The agent replaces it when it is
// constructed; tests call Reset() to start from a fresh instance.
template <class T>
class Singleton {
public:
  static T* s_instance;

  static T& Get() {
    if (s_instance == nullptr) s_instance = new T();
    return *s_instance;
  }

  static T& Reset() {
    delete s_instance;
    s_instance = new T();
    return *s_instance;
  }
};

template <class T>
T* Singleton<T>::s_instance = nullptr;

#endif
