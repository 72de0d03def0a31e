// A Japanese mail with an attachment goes out through SMTP and comes back through POP3 with the
// same subject, text and attachment bytes. Binary operators evaluate their right operand first:
// calls with effects stand alone.
var data = "";
for (var i = 0; i < 256; i++) data += String.fromCharCode(i < 128 ? i : 0xDC00 + i);
for (var i = 0; i < 8; i++) data += data;
var f = new File(SCRATCH + "photo.bin");
f.open("w");
f.write(data);
f.close();
println("attachment " + f.length);

var subject = "テストの件名です";
var text = "こんにちは、ミルフェンです。\n.先頭にドットのある行\n.\n最後の行";  // a line break in a literal is CR LF
var smtp = new SMTP("127.0.0.1", SMTP_PORT);
var statuses = "";
smtp.onStatus = function (sender, line) { if (line.indexOf("cmd>") == 0) statuses += line + "|"; };
var out = smtp.mail;
out.From = Base64.encodeHeader("送信者".toSJIS()) + " <sender@example.com>";
out.To = "Taro <user@example.com>";
out.Subject = Base64.encodeHeader(subject.toSJIS());
out.message = text.toJIS();
out.attachments.add(SCRATCH + "photo.bin");
smtp.connect();
smtp.sendMail();
smtp.disconnect();
println(statuses.indexOf("cmd>MAIL FROM:<sender@example.com>|cmd>RCPT TO:<user@example.com>|cmd>DATA|") >= 0);

var pop = new POP3("127.0.0.1", POP3_PORT);
pop.userid = "user";
pop.password = "secret";
pop.attachPath = SCRATCH;
pop.connect();
println("count " + pop.mailCount);
var got = pop.getSummary(1);
println("summary " + got.number + " " + (Base64.decodeHeader(got.Subject).toUTF8() == subject));
got = pop.getMail(1);
println(got == pop.mail);
println("number " + got.number);
println("subject " + Base64.decodeHeader(got.Subject).toUTF8());
println("from " + Base64.decodeHeader(got.From).toUTF8());
println("text " + (got.message == "\n" + text.toJIS() + "\n"));
println(got.message.toUTF8());
println("attachments " + got.attachments.count + " " + got.attachments[0]);
var back = new File(got.attachments[0]);
back.open();
var bytes = back.read();
back.close();
println("bytes " + bytes.length + " " + (bytes == data));
pop.delete(1);
pop.disconnect();
pop.connect();
println("left " + pop.mailCount);
pop.close();

// A mail that is not there, a message with nobody to send it to, a refused login (the last: the
// server makes the next login from this address wait).
var quiet = new POP3("127.0.0.1", POP3_PORT);
quiet.userid = "user";
quiet.password = "secret";
quiet.open();
try { quiet.getMail(9); } catch (e) { println("getMail: " + e); }
quiet.close();
var none = new SMTP("127.0.0.1", SMTP_PORT);
none.connect();
try { none.sendMail(); } catch (e) { println("sendMail: " + e); }
none.disconnect();
pop.password = "wrong";
try { pop.connect(); } catch (e) { println("login: " + e); }

// Uncaught, the failure shows its message.
pop.connect();
println("not reached");
