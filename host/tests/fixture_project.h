// A small project of the face module, written by the test: descriptor,
// configuration, one class folder, a page and a build entry.
#pragma once

#include <string>

#include "temp_folder.h"

namespace velmhost::testing {

inline std::string Crlf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

inline std::string FixtureDescriptor(const std::string& pluginModule) {
  return Crlf(R"(<?xml version="1.0" encoding="US-ASCII"?>
<TPwaFrame>
	<PluginModule>)" + pluginModule + R"(</PluginModule>
	<PluginProduct>Fixture</PluginProduct>
	<Source></Source>
	<BuildList>"HTML","train_all"</BuildList>
	<EditList>"HTML"</EditList>
	<PublicList>"HTML"</PublicList>
	<list>
		<TPubContainer>
			<Name>HTML</Name>
			<Source></Source>
			<Path></Path>
			<FileName>index.html</FileName>
			<list>
				<TPubContainer>
					<Name>Manifest</Name>
					<Source></Source>
					<Path></Path>
					<FileName>manifest.json</FileName>
				</TPubContainer>
			</list>
		</TPubContainer>
		<TLocContainer>
			<Name>ImageClasses</Name>
			<Source></Source>
			<Path></Path>
			<FileName>images</FileName>
			<list>
				<TLocContainer>
					<Name>train</Name>
					<Source></Source>
					<Path></Path>
					<FileName>images\train</FileName>
					<list>
						<TFacContainer>
							<Name>dogs</Name>
							<Source></Source>
							<Path></Path>
							<FileName>images\train\dogs</FileName>
						</TFacContainer>
					</list>
				</TLocContainer>
			</list>
		</TLocContainer>
		<TLocContainer>
			<Name>config</Name>
			<Source></Source>
			<Path></Path>
			<FileName>config.py</FileName>
		</TLocContainer>
		<TLocContainer>
			<Name>train_all</Name>
			<Source></Source>
			<Path></Path>
			<FileName>train_all.bat</FileName>
		</TLocContainer>
	</list>
</TPwaFrame>)");
}

inline void WriteFixtureProject(const velmtools::testing::TempFolder& folder, const std::string& relative,
                                const std::string& pluginModule = "visagor.dll") {
  const std::string base = relative + "/";
  folder.Write(base + "pwa.pwa", FixtureDescriptor(pluginModule));
  folder.Write(base + "config.py", Crlf("train_images_path = \"images_cropped/train\"\ntest_images_path = \"images_cropped/test\"\n"
                                        "model_path = \"model\"\nimg_height = 192\nimg_width = 192\nbatch_size = 1\n"
                                        "keras_epochs = 60\nqnet_epochs = 300\n"));
  folder.Write(base + "index.html", "<html>fixture</html>");
  folder.Write(base + "manifest.json", "{\"name\":\"fixture\"}");
  folder.Write(base + "images/train/dogs/1.png", "dog picture");
  folder.Write(base + "train_all.bat", Crlf("@echo off\npython train.py\n"));
}

// A chat bot project: its dialogue files live in the data item Train, below
// the items data and chatbot, in the folder data/chatbot/train.
inline void WriteChatFixtureProject(const velmtools::testing::TempFolder& folder, const std::string& relative) {
  const std::string item = R"(
<TBotContainer><Name>%s</Name><Source></Source><Path></Path><FileName>%f</FileName><list>%c</list></TBotContainer>)";
  const auto make = [&](const std::string& name, const std::string& file, const std::string& children) {
    std::string text = item;
    text.replace(text.find("%s"), 2, name);
    text.replace(text.find("%f"), 2, file);
    text.replace(text.find("%c"), 2, children);
    return text;
  };
  const std::string tree = make("data", "data", make("chatbot", "data\\chatbot", make("Train", "data\\chatbot\\train", "")));
  folder.Write(relative + "/pwa.pwa", Crlf(R"(<?xml version="1.0" encoding="US-ASCII"?>
<TPwaFrame>
<PluginModule>parlomat.dll</PluginModule>
<PluginProduct>Fixture</PluginProduct>
<Source></Source>
<BuildList>"HTML","train_keras","train_qnet","train_all"</BuildList>
<EditList>"HTML"</EditList>
<PublicList>"HTML"</PublicList>
<list>)" + tree + R"(
</list>
</TPwaFrame>)"));
  folder.Write(relative + "/data/chatbot/train/ai.yml", "categories:\n- ai\n");
}

}  // namespace velmhost::testing
